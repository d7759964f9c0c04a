// Feeds arbitrary bytes to the film sound reader of the timeline as a file:
// its header, its bext start and, when it accepts them, the samples through
// the peak summary and the column peaks at a coarse and a fine zoom.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "core/film_sound.h"
#include "core/peak_summary.h"
#include "fuzz/temp_folder.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const fuzzing::TempFolder folder("film_sound_fuzz");
  const std::filesystem::path file = folder.path() / "film.wav";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
  }
  vtq::FilmSound sound;
  if (!sound.open(file)) {
    check(!sound.error().empty());
    return 0;
  }
  const vtq::FilmSoundFormat& format = sound.format();
  check(format.sampleRate == 44100 || format.sampleRate == 48000);
  check(format.channels > 0 && format.blockAlign == format.channels * format.bitsPerSample / 8);
  check(format.dataOffset + format.frameCount * format.blockAlign <= size);
  check(vtq::filmSoundStart(format).frameCount() < vtq::CSMPTETime::kFramesPerDay);
  for (const vtq::ChannelChoice channel : {vtq::ChannelChoice(), vtq::ChannelChoice(uint16_t(format.channels - 1))}) {
    vtq::PeakSummary summary(format.frameCount);
    const std::atomic<bool> cancel{false};
    summary.build(sound, channel, cancel);
    check(summary.complete());
    std::vector<vtq::ColumnPeaks> columns(17);
    for (const double perColumn : {0.7, 300.0}) {
      vtq::columnPeaks(summary, sound, channel, 3, perColumn, columns);
      for (const vtq::ColumnPeaks& c : columns) check(!c.found || c.peaks.min <= c.peaks.max);
    }
  }
  return 0;
}
