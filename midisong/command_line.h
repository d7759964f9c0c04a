// mid2trk's command line: the options and the two file names.
#pragma once

#include <string>
#include <vector>

#include "common/byte_order.h"
#include "release_profile.h"
#include "song_run.h"

namespace midisong {

struct Mid2trkCommandLine {
  Target target = Target::GameBoy;
  common::Endian endian = common::Endian::Big;
  const char* targetName = "";  // printed after "Target is: "
  std::string midiPath;
  std::string songPath;
};

enum class CommandLineResult {
  Ok,
  Usage,          // too few arguments: the usage text
  IllegalOption,  // an option the release does not know
};

// Reads the options (arguments that begin with "-"; only the letter after the
// "-" counts, in either case; the last one wins), then the MIDI file and the
// song file. Arguments after the song file are ignored.
CommandLineResult parseMid2trkCommandLine(const std::vector<std::string>& args, const ReleaseProfile& release,
                                          Mid2trkCommandLine& line);

}  // namespace midisong
