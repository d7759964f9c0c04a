#include "command_line.h"

#include <cctype>
#include <string_view>

namespace midisong {
namespace {

struct TargetChoice {
  char letter;
  Target target;
  common::Endian endian;
  const char* name;
};

// -P is what the converter passes for its default little-endian target: the
// Nintendo 64 layout written little-endian. Its name is the layout's; the byte
// order shows in the song file.
constexpr TargetChoice kTargets[] = {
    {'G', Target::GameBoy, common::Endian::Big, "Game Boy\n"},
    {'A', Target::Advance, common::Endian::Little, "Game Boy Advance\n"},
    {'N', Target::Nintendo64, common::Endian::Big, "Nintendo 64\n"},
    {'D', Target::Dolphin, common::Endian::Big, "Dolphin\n"},
    {'P', Target::Nintendo64, common::Endian::Little, "Nintendo 64\n"},
};

const TargetChoice* findTarget(char letter, const ReleaseProfile& release) {
  if (letter == 0 || release.options.find(letter) == std::string_view::npos) return nullptr;
  for (const TargetChoice& choice : kTargets) {
    if (choice.letter == letter) return &choice;
  }
  return nullptr;
}

}  // namespace

CommandLineResult parseMid2trkCommandLine(const std::vector<std::string>& args, const ReleaseProfile& release,
                                          Mid2trkCommandLine& line) {
  if (args.size() < 2) return CommandLineResult::Usage;
  const TargetChoice* choice = &kTargets[0];
  size_t i = 0;
  for (; i < args.size() && !args[i].empty() && args[i][0] == '-'; ++i) {
    const char letter = char(std::toupper(static_cast<unsigned char>(args[i].size() > 1 ? args[i][1] : 0)));
    choice = findTarget(letter, release);
    if (choice == nullptr) return CommandLineResult::IllegalOption;
  }
  if (args.size() - i < 2) return CommandLineResult::Usage;
  line.target = choice->target;
  line.endian = choice->endian;
  line.targetName = choice->name;
  line.midiPath = args[i];
  line.songPath = args[i + 1];
  return CommandLineResult::Ok;
}

}  // namespace midisong
