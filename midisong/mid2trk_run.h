// The mid2trk program: command line, the order of the phases, exit code.
#pragma once

#include <string>
#include <vector>

#include "song_run.h"

namespace midisong {

// Exit codes; the shell shows -1 as 255.
enum ExitCode : int { kExitDone = 0, kExitFailed = -1 };

// Runs mid2trk with the arguments that follow the program name. Prints the
// banner and everything else through `run`, whose target and byte order it
// sets from the options.
int runMid2trk(const std::vector<std::string>& args, SongRun& run);

}  // namespace midisong
