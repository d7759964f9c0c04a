// mid2trk: converts a Standard MIDI File into a song file. The same source
// builds every release; MID2TRK_RELEASE names the release profile.
#include <iostream>

#include "common/descriptor_path.h"
#include "mid2trk_run.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  // With the song on standard output, messages keep out of the data.
  common::Output out(common::namesStandardOutput(args) ? std::cerr : std::cout);
  common::Output err(std::cerr);
  midisong::SongRun run(midisong::MID2TRK_RELEASE, out, err);
  run.program = "mid2trk";
  const int code = midisong::runMid2trk(args, run);
  out.flush();
  err.flush();
  return code;
}
