#include "mid2trk_run.h"

#include <cctype>
#include <optional>

#include "messages.h"
#include "midi_reader.h"
#include "song_arrangement.h"
#include "song_writers.h"

namespace midisong {
namespace {

struct TargetChoice {
  char letter;
  Target target;
  common::Endian endian;
  const char* name;  // printed after "Target is: "
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

int printUsage(SongRun& run) {
  run.say(kMsgUsage);
  run.out.write("\n");
  return kExitFailed;
}

// Reads the options (arguments that begin with "-"; only the letter after the
// "-" counts, in either case; the last one wins). Returns the index of the
// first file argument, or nothing after an unknown option.
std::optional<size_t> readOptions(const std::vector<std::string>& args, SongRun& run, const TargetChoice*& choice) {
  size_t i = 0;
  for (; i < args.size() && !args[i].empty() && args[i][0] == '-'; ++i) {
    const char letter = char(std::toupper(static_cast<unsigned char>(args[i].size() > 1 ? args[i][1] : 0)));
    choice = findTarget(letter, run.release);
    if (choice == nullptr) return std::nullopt;
  }
  return i;
}

int writeSong(const std::string& path, const SongArrangement& song, const MidiImage& image, SongRun& run) {
  switch (run.target) {
    case Target::GameBoy:
      return writeGameBoySong(path, song, image.ticksPerBeat, run.endian, run);
    case Target::Advance:
      return writeAdvanceSong(path, song, image.ticksPerBeat, run.endian, run);
    default:
      return writeN64Song(path, song, image, run.endian, run);
  }
}

int convert(const std::string& midiPath, const std::string& songPath, SongRun& run) {
  MidiImage image;
  SongArrangement song;
  if (readMidiFile(midiPath, image, listModeFor(run.target), run) != 0) return kExitFailed;
  if (arrangeSong(image, song, trackLimitFor(run.target), run) != 0) return kExitFailed;
  dropEmptyPatterns(song, familyOf(run.target));
  numberPatterns(song);
  if (familyOf(run.target) == TargetFamily::Console && song.trackCount > trackLimitFor(run.target)) {
    run.say(kMsgTooManySongTracks);
    return kExitFailed;
  }
  if (!songTimesFit(song, unitsPerBeatFor(run.target), image.ticksPerBeat)) {
    run.say(kMsgSongTooLong);
    return kExitFailed;
  }
  if (writeSong(songPath, song, image, run) != 0) return kExitFailed;
  run.say(kMsgDone);
  return kExitDone;
}

}  // namespace

int runMid2trk(const std::vector<std::string>& args, SongRun& run) {
  run.out.write(run.release.banner);
  if (args.size() < 2) return printUsage(run);
  const TargetChoice* choice = &kTargets[0];
  const std::optional<size_t> first = readOptions(args, run, choice);
  if (!first) {
    run.say(kMsgIllegalOption);
    return printUsage(run);
  }
  if (args.size() - *first < 2) return printUsage(run);
  run.target = choice->target;
  run.endian = choice->endian;
  run.sayBare(kMsgTargetIs);
  run.out.write(choice->name);
  run.out.write("\n");
  return convert(args[*first], args[*first + 1], run);
}

}  // namespace midisong
