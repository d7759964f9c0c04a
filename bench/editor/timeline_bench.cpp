// The timeline on a two-hour film sound (48 kHz stereo, 16-bit, 1.38 GB):
// the whole overview (the peak summary) built from a file in the page cache,
// as the worker builds it after opening (goal: within 3 s), and a repaint of
// the pane after each zoom or scroll step (goal: within 16 ms).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QtGui/QImage>
#include <QtWidgets/QApplication>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "common/byte_order.h"
#include "core/document.h"
#include "core/film_sound.h"
#include "core/peak_summary.h"
#include "window/timeline/timeline_view.h"

namespace {

constexpr uint32_t kRate = 48000;
constexpr uint64_t kFrames = uint64_t(kRate) * 7200;

// Writes the film once per run: a tone that swells and fades over each minute.
std::filesystem::path filmSound() {
  static const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("vtqedit-bench-film-" + std::to_string(::getpid()) + ".wav");
  static const bool written = [] {
    std::ofstream out(path, std::ios::binary);
    common::ByteWriter header(common::Endian::Little);
    header.text("RIFF");
    header.u32(uint32_t(36 + kFrames * 4));
    header.text("WAVEfmt ");
    for (const uint32_t v : {16u, 0x20001u, kRate, kRate * 4, 0x100004u}) header.u32(v);
    header.text("data");
    header.u32(uint32_t(kFrames * 4));
    out.write(reinterpret_cast<const char*>(header.data().data()), std::streamsize(header.size()));
    std::vector<int16_t> block(2 * kRate);
    for (uint64_t second = 0; second < 7200; ++second) {
      const int level = int(30000 * (second % 60) / 60);
      for (uint32_t f = 0; f < kRate; ++f)
        block[2 * f] = block[2 * f + 1] = int16_t((f % 109) * 2 * level / 109 - level);
      out.write(reinterpret_cast<const char*>(block.data()), std::streamsize(block.size() * 2));
    }
    std::atexit([] { std::filesystem::remove(path); });
    return true;
  }();
  (void)written;
  return path;
}

void BM_OverviewOfTwoHours(benchmark::State& state) {
  vtq::FilmSound sound;
  if (!sound.open(filmSound())) state.SkipWithError(sound.error().c_str());
  {
    // Once through, so the file is in the page cache as the goal assumes.
    vtq::PeakSummary warm(sound.format().frameCount);
    warm.build(sound, std::nullopt, std::atomic<bool>{false});
  }
  for (auto _ : state) {
    vtq::PeakSummary summary(sound.format().frameCount);
    summary.build(sound, std::nullopt, std::atomic<bool>{false});
    benchmark::DoNotOptimize(summary.framesDone());
  }
  state.counters["MB/s"] = benchmark::Counter(double(kFrames * 4) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_OverviewOfTwoHours)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// One step of zoom or scroll and the pane painted into an image of its size
// (1600 x 300), with 2,000 commands on the timeline.
void BM_RepaintAfterZoomOrScroll(benchmark::State& state) {
  static int argc = 1;
  static char name[] = "timeline_bench";
  static char* argv[] = {name, nullptr};
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static QApplication app(argc, argv);
  vtq::FilmSound sound;
  if (!sound.open(filmSound())) state.SkipWithError(sound.error().c_str());
  vtq::PeakSummary summary(sound.format().frameCount);
  summary.build(sound, std::nullopt, std::atomic<bool>{false});
  vtq::CQuorlinVTQEditorDoc document;
  for (uint32_t i = 0; i < 2000; ++i) {
    auto command = std::make_unique<vtq::CCommand>(&document);
    command->MoveStart(vtq::CSMPTETime(i * 25 * 3));
    document.insertRow(i, std::move(command));
  }
  vtq::TimelineView view(document);
  view.resize(1600, 300);
  view.setSound(&sound, &summary, std::nullopt, vtq::CSMPTETime());
  QImage image(view.size(), QImage::Format_RGB32);
  const size_t levels = view.scale().zoomLadder().size();
  size_t step = 0;
  for (auto _ : state) {
    // Every zoom from the whole film to single frames, each scrolled somewhere else.
    view.scale().setZoom(levels - 1 - step % levels, 800);
    view.scale().setFirstFrame(double((step * 7919) % 7200) * kRate);
    view.render(&image);
    ++step;
  }
}
BENCHMARK(BM_RepaintAfterZoomOrScroll)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
