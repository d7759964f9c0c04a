// Feeds arbitrary bytes through the whole conversion: the first byte picks
// the target (and release), the rest is the MIDI file. Reading, arranging and
// encoding must end without a crash, and a song is produced exactly when all
// three phases succeed.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "midisong/midi_reader.h"
#include "midisong/song_arrangement.h"
#include "midisong/song_writers.h"

using namespace midisong;

namespace {

struct Choice {
  Target target;
  common::Endian endian;
  const ReleaseProfile* release;
};

Choice choose(uint8_t byte) {
  static const Choice kChoices[] = {
      {Target::GameBoy, common::Endian::Big, &kCurrentRelease},
      {Target::Advance, common::Endian::Little, &kCurrentRelease},
      {Target::Nintendo64, common::Endian::Big, &kCurrentRelease},
      {Target::Dolphin, common::Endian::Big, &kCurrentRelease},
      {Target::Nintendo64, common::Endian::Little, &kCurrentRelease},
      {Target::GameBoy, common::Endian::Big, &kRelease129g},
      {Target::Nintendo64, common::Endian::Big, &kRelease129g},
  };
  return kChoices[byte % (sizeof kChoices / sizeof kChoices[0])];
}

std::optional<std::vector<uint8_t>> encode(const SongArrangement& song, const MidiImage& image, SongRun& run) {
  switch (run.target) {
    case Target::GameBoy: return encodeGameBoySong(song, image.ticksPerBeat, run.endian, run);
    case Target::Advance: return encodeAdvanceSong(song, image.ticksPerBeat, run.endian);
    default: return encodeN64Song(song, image, run.endian, run);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const Choice choice = choose(data[0]);
  std::ostringstream text;
  std::ostringstream errors;
  common::Output out(text);
  common::Output err(errors);
  SongRun run(*choice.release, out, err);
  run.target = choice.target;
  run.endian = choice.endian;
  MidiImage image;
  SongArrangement song;
  if (readMidiBytes({data + 1, size - 1}, "fuzz.mid", image, listModeFor(run.target), run) != 0) return 0;
  for (size_t i = 0; i < MidiImage::kListCount; ++i) {
    for (size_t j = 1; j < image.lists[i].size(); ++j) {
      if (image.lists[i][j].time < image.lists[i][j - 1].time) std::abort();
    }
  }
  if (arrangeSong(image, song, trackLimitFor(run.target), run) != 0) return 0;
  dropEmptyPatterns(song, familyOf(run.target));
  numberPatterns(song);
  if (!songTimesFit(song, unitsPerBeatFor(run.target), image.ticksPerBeat)) return 0;
  const auto bytes = encode(song, image, run);
  if (bytes && bytes->size() < 8) std::abort();
  if (!bytes && song.trackCount <= 64) std::abort();
  return 0;
}
