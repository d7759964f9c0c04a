// vtqedit's batch mode: lists, adds, deletes and remakes the wave files of
// cue documents from the command line, with no window.
#pragma once

#include <chrono>
#include <optional>
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

// Takes the lock of the document a command changes, before the document is
// read; it is held until the save has renamed the new file into place, so
// that a second run reads what the first wrote instead of losing it. On
// failure (exit 4) the message is printed.
std::optional<DocumentLock> lockDocumentForChange(const std::string& document, BatchRun& run);

// Runs the batch mode with the program's arguments (without the program name)
// and returns the exit code.
int runBatchMode(const std::vector<std::string>& args, BatchRun& run);

}  // namespace vtq
