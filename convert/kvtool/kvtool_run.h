// kvtool: turns an arrangement file into a song file in the Nintendo 64 /
// Dolphin layout, little-endian, or big-endian with -B.
#pragma once

#include <string>
#include <vector>

#include "common/byte_order.h"
#include "common/output.h"

namespace kvtool {

enum ExitCode : int {
  kExitDone = 0,    // the song file was written
  kExitFailed = 1,  // the arrangement, its MIDI file or the song could not be handled
  kExitUsage = 2,
};

struct KvtoolCommandLine {
  common::Endian endian = common::Endian::Little;
  std::string arrangementPath;
  std::string songPath;
};

// Reads the command line: -B (or -b) before the file names, then the
// arrangement and the song. False with a message in `error` (usage included)
// when it is not a valid command line.
bool parseKvtoolCommandLine(const std::vector<std::string>& args, KvtoolCommandLine& line, std::string& error);

// Runs kvtool with the arguments that follow the program name.
int runKvtool(const std::vector<std::string>& args, common::Output& out, common::Output& err);

}  // namespace kvtool
