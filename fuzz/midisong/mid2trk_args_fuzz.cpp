// Feeds arbitrary command lines (arguments separated by NUL bytes) to
// mid2trk's command line reader, for both releases: a command line it accepts
// names two files and a target the release knows.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>

#include "fuzz/arguments.h"
#include "midisong/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> args = fuzzing::splitArguments(data, size);
  for (const midisong::ReleaseProfile* release : {&midisong::kCurrentRelease, &midisong::kRelease129g}) {
    midisong::Mid2trkCommandLine line;
    const auto result = midisong::parseMid2trkCommandLine(args, *release, line);
    if (args.size() < 2 && result != midisong::CommandLineResult::Usage) std::abort();
    if (result != midisong::CommandLineResult::Ok) continue;
    if (std::string_view(line.targetName).empty()) std::abort();
    // The files are the first two arguments that do not start with "-".
    const auto firstFile =
        std::find_if(args.begin(), args.end(), [](const std::string& a) { return a.empty() || a[0] != '-'; });
    if (firstFile + 1 >= args.end() || line.midiPath != *firstFile || line.songPath != *(firstFile + 1)) std::abort();
    for (auto option = args.begin(); option != firstFile; ++option) {
      const char letter = char(std::toupper(static_cast<unsigned char>(option->size() > 1 ? (*option)[1] : 0)));
      if (release->options.find(letter) == std::string_view::npos) std::abort();
    }
  }
  return 0;
}
