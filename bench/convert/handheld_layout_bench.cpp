// Lays out a large Game Boy image and a large Game Boy Advance project file
// from projects that are already converted and compiled, so that only the
// layout is measured.
//
// Game Boy: 250 samples of 14 KB (3.4 MB; the sample directory names banks
// up to 255, so an image ends near 4 MB), 200 MIDI setups with songs of about
// 1.5 KB, 256 macros, 100 tables, 250 effects.
// Advance: 8,192 macros of 40 bytes, 500 tables, 2,000 effects, 50 setups,
// 200 samples of 8 KB.
#include <benchmark/benchmark.h>

#include <sstream>

#include "convert/targets/handheld/advance_project_file.h"
#include "convert/targets/handheld/gb_layout.h"

namespace {

using namespace voconv;

convert::HandheldSample sampleOf(size_t bytes, uint32_t rate) {
  convert::HandheldSample s;
  s.header.keyRate = convert::SampleHeader::makeKeyRate(60, rate);
  s.header.lengthType = convert::SampleHeader::makeLengthType(uint32_t(bytes), 0);
  s.data.assign(bytes, 0x5A);
  return s;
}

HandheldSetup setupOf(int n, size_t songBytes, int macros) {
  HandheldSetup s;
  s.name = "Song" + std::to_string(n);
  for (size_t p = 0; p < kPagePrograms; ++p) {
    s.normalPage[p] = PageSlot{true, int(p) % macros, 5, 2};
    s.drumPage[p] = PageSlot{true, int(p * 7) % macros, 5, 1};
  }
  s.song.assign(songBytes, uint8_t(n));
  return s;
}

HandheldProject project(int macros, size_t macroBytes, int tables, int effects, int setups, size_t songBytes,
                        int samples, size_t sampleBytes) {
  HandheldProject p;
  for (int i = 0; i < macros; ++i) p.macros.push_back(HandheldMacro{std::vector<uint8_t>(macroBytes, uint8_t(i))});
  p.tables.assign(size_t(tables), EnvelopeCurve{20, 300, 2000, 500});
  p.effectGroups.resize(5);
  for (int i = 0; i < effects; ++i) {
    HandheldEffect fx;
    fx.macroIndex = i % macros;
    fx.name = "Fx" + std::to_string(i);
    p.effectGroups[size_t(i) % 5].push_back(fx);
  }
  for (int i = 0; i < setups; ++i) p.setups.push_back(setupOf(i, songBytes + size_t(i * 13 % 700), macros));
  for (int i = 0; i < samples; ++i) p.samples.push_back(sampleOf(sampleBytes + size_t(i % 7) * 16, 8000));
  return p;
}

void gameBoyImage(benchmark::State& state) {
  const HandheldProject p = project(256, 16, 100, 250, 200, 1200, 250, 14 * 1024);
  std::ostringstream sink;
  common::Output out(sink);
  size_t bytes = 0;
  for (auto _ : state) {
    const std::optional<GameBoyLayout> layout = layOutGameBoyImage(p, {GameBoyVariant::Cartridge, true}, out);
    if (!layout) state.SkipWithError("the project does not fit");
    bytes = layout ? layout->poolEnd : 0;
    benchmark::DoNotOptimize(layout);
  }
  state.counters["image_bytes"] = double(bytes);
}
BENCHMARK(gameBoyImage)->Unit(benchmark::kMillisecond);

void advanceProject(benchmark::State& state) {
  const HandheldProject p = project(8192, 40, 500, 2000, 50, 4000, 200, 8 * 1024);
  std::ostringstream sink;
  common::Output out(sink);
  size_t bytes = 0;
  for (auto _ : state) {
    const std::optional<std::vector<uint8_t>> file = emitAdvanceProject(p, out);
    if (!file) state.SkipWithError("the project could not be laid out");
    bytes = file ? file->size() : 0;
    benchmark::DoNotOptimize(file);
  }
  state.counters["file_bytes"] = double(bytes);
}
BENCHMARK(advanceProject)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
