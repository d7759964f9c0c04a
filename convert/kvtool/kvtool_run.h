// kvtool: turns an arrangement file into a song file in the Nintendo 64 /
// Dolphin layout, little-endian, or big-endian with -B.
#pragma once

#include <string>
#include <vector>

#include "common/output.h"

namespace kvtool {

enum ExitCode : int {
  kExitDone = 0,    // the song file was written
  kExitFailed = 1,  // the arrangement, its MIDI file or the song could not be handled
  kExitUsage = 2,
};

// Runs kvtool with the arguments that follow the program name.
int runKvtool(const std::vector<std::string>& args, common::Output& out, common::Output& err);

}  // namespace kvtool
