// vtqedit's batch mode: lists, adds, deletes and remakes the wave files of
// cue documents from the command line, with no window.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "common/output.h"
#include "document_lock.h"

namespace vtq {

// What one run prints: listings on standard output, messages on standard error.
// A command that changes a document waits up to `lockTimeout` for another
// program changing it to finish.
struct BatchRun {
  common::Output& out;
  common::Output& err;
  std::chrono::milliseconds lockTimeout = kDocumentLockTimeout;
};

// Runs the batch mode with the program's arguments (without the program name)
// and returns the exit code.
int runBatchMode(const std::vector<std::string>& args, BatchRun& run);

}  // namespace vtq
