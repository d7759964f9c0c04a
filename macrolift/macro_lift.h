// One run of macrolift: the banner, the scan of the working folder, the
// report and the exit code.
#pragma once

#include <filesystem>

#include "common/output.h"

namespace macrolift {

enum ExitCode : int {
  kDone = 0,
  kFailed = 1,          // the report cannot be created or the scan stopped on an error
  kStepArrayFull = 10,  // a macro's step array could not grow
};

enum class KeyWait {
  OnTerminal,  // after a failure, wait for a key when standard input is a terminal
  Never,
};

// Converts the sound project below `root` in place and writes the report
// file into `root`.
int runMacroLift(const std::filesystem::path& root, common::Output& console, KeyWait keyWait);

}  // namespace macrolift
