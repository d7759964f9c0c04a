// The batch mode's list-wide changes: --shift moves commands in time, and
// --export and --import exchange them with a spreadsheet as command lists.
// Each checks everything before it changes a file: a refused change leaves the
// document and the wave files as they were.
#pragma once

#include "batch_mode.h"
#include "batch_options.h"

namespace vtq {

int shiftDocument(const BatchOptions& options, BatchRun& run);
int exportList(const BatchOptions& options, BatchRun& run);
int importList(const BatchOptions& options, BatchRun& run);

// Reads "[-]HH:MM:SS:FF" as a signed number of frames.
bool parseSignedTimeCode(const std::string& text, const char* option, int64_t& frames, BatchProblem& problem);

}  // namespace vtq
