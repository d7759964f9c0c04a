// Nintendo 64 adaptive coding speed: 60 s of 44.1 kHz mono music-like
// audio on one core, and a set of samples converted on one and two threads.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include "common/byte_order.h"
#include "common/output.h"
#include "convert/samples/n64_sample_converter.h"
#include "convert/samples/sample_batch.h"

namespace {

constexpr int kRate = 44100;

// Plucked chords: notes of decaying harmonics over a little noise.
std::vector<int16_t> musicLike(int seconds, unsigned seed) {
  std::vector<int16_t> out(size_t(seconds) * kRate);
  std::mt19937 random(seed);
  std::normal_distribution<double> noise(0.0, 150.0);
  const double notes[] = {130.8, 164.8, 196.0, 261.6, 329.6, 392.0, 110.0, 146.8};
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = double(i) / kRate;
    const int beat = int(t * 2);
    const double since = t - beat / 2.0;
    double v = noise(random);
    for (int n = 0; n < 3; ++n) {
      const double f = notes[(beat + 2 * n) % 8];
      for (int h = 1; h <= 4; ++h) v += 2500.0 / h * std::exp(-3.0 * since * h) * std::sin(2 * M_PI * f * h * t);
    }
    out[i] = int16_t(std::lround(std::fmax(-32768.0, std::fmin(32767.0, v))));
  }
  return out;
}

convert::SampleRecord record(std::vector<int16_t> samples) {
  convert::SampleRecord r;
  r.bits = 16;
  r.channels = 1;
  r.rate = kRate;
  r.rootKey = 60;
  r.frames = uint32_t(samples.size());
  r.dataLength = r.frames * 2;
  r.samples16 = std::move(samples);
  return r;
}

void BM_AdaptiveCoding60s(benchmark::State& state) {
  const convert::SampleRecord r = record(musicLike(60, 1));
  std::ostringstream text;
  common::Output out(text);
  for (auto _ : state) {
    convert::N64ConvertedSample result;
    convert::convertRecordForN64(r, "music", convert::kSampleTypeAdaptive, {}, result, out);
    benchmark::DoNotOptimize(result.data.data());
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(r.samples16.size()));
}
// Measured in CPU time: the goal is for one core, whatever else the machine runs.
BENCHMARK(BM_AdaptiveCoding60s)->Unit(benchmark::kMillisecond);

// Eight WAV files of 7.5 s each, converted on 1 and 2 threads.
void BM_ManySamples(benchmark::State& state) {
  const auto dir = std::filesystem::temp_directory_path() / "samples-bench";
  std::filesystem::create_directories(dir);
  std::vector<convert::N64SampleJob> jobs;
  size_t total = 0;
  for (unsigned i = 0; i < 8; ++i) {
    const std::vector<int16_t> s = musicLike(8, i + 10);
    common::ByteWriter w(common::Endian::Little);
    w.text("RIFF");
    w.u32(uint32_t(36 + s.size() * 2));
    w.text("WAVEfmt ");
    w.u32(16);
    w.u16(1);
    w.u16(1);
    w.u32(kRate);
    w.u32(kRate * 2);
    w.u16(2);
    w.u16(16);
    w.text("data");
    w.u32(uint32_t(s.size() * 2));
    for (int16_t v : s) w.s16(v);
    const auto path = dir / ("s" + std::to_string(i) + ".wav");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(w.data().data()), std::streamsize(w.size()));
    jobs.push_back({path, convert::kSampleTypeAdaptive});
    total += s.size();
  }
  for (auto _ : state) {
    auto outcomes =
        convert::convertSamplesForN64(jobs, {}, convert::SampleReaderProfile::current(), unsigned(state.range(0)));
    benchmark::DoNotOptimize(outcomes.data());
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(total));
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ManySamples)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
