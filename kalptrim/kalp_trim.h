// kalptrim: strips the 44-byte header of a KALP sample file.
#pragma once

#include <string>
#include <vector>

#include "common/output.h"

namespace kalptrim {

// Exit codes of a run. The shell shows the negative ones as 255, 254, 253...
enum ExitCode : int {
  kDone = 0,
  kUsage = -1,
  kNotKalp = -2,
  kCannotOpenInput = -3,
  kCannotCreateOutput = -4,
  kCannotReadInput = -5,
};

// One run: the program's name (which its temporary files carry) and where
// its messages go.
struct KalpTrimRun {
  std::string program;
  common::Output& out;
};

// Runs kalptrim with the arguments that follow the program name.
int runKalpTrim(const std::vector<std::string>& args, KalpTrimRun& run);

}  // namespace kalptrim
