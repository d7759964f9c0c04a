// Cuts a 200 MB KALP file, as kalptrim does, and copies it with `cp` for
// comparison (kalptrim should take at most 1.5 times as long).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "kalptrim/kalp_trim.h"

namespace {

constexpr size_t kFileSize = 200u << 20;

std::filesystem::path makeInput(const std::filesystem::path& dir) {
  const auto path = dir / "big.kalp";
  std::ofstream f(path, std::ios::binary);
  std::vector<char> chunk(1 << 20);
  for (size_t i = 0; i < chunk.size(); ++i) chunk[i] = char(i * 31 + 7);
  const char header[8] = {'K', 'A', 'L', 'P', 0, 0, 1, 0};
  std::copy(header, header + 8, chunk.begin());
  for (size_t written = 0; written < kFileSize; written += chunk.size()) {
    f.write(chunk.data(), std::streamsize(chunk.size()));
    chunk[0] = 0;  // only the first chunk carries the header
  }
  return path;
}

// state.range(0): 1 when Outfile exists already and is replaced, 0 when it is new.
void BM_CutKalpFile(benchmark::State& state) {
  const bool replace = state.range(0) != 0;
  const auto dir = std::filesystem::temp_directory_path() / ("kalptrim-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const auto in = makeInput(dir);
  const auto out = dir / "out.raw";
  std::ostringstream text;
  common::Output output(text);
  kalptrim::KalpTrimRun run{"kalptrim", output};
  for (auto _ : state) {
    if (!replace) {
      state.PauseTiming();
      std::filesystem::remove(out);
      state.ResumeTiming();
    }
    if (kalptrim::runKalpTrim({in.string(), out.string()}, run) != kalptrim::kDone) {
      state.SkipWithError("kalptrim failed");
    }
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kFileSize));
  std::filesystem::remove_all(dir);
}

// state.range(0) as above; `cp` over an existing file truncates and rewrites it.
void BM_CopyWithCp(benchmark::State& state) {
  const bool replace = state.range(0) != 0;
  const auto dir = std::filesystem::temp_directory_path() / ("kalptrim-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const auto in = makeInput(dir);
  const auto out = dir / "out.raw";
  const std::string command = "cp '" + in.string() + "' '" + out.string() + "'";
  for (auto _ : state) {
    if (!replace) {
      state.PauseTiming();
      std::filesystem::remove(out);
      state.ResumeTiming();
    }
    if (std::system(command.c_str()) != 0) state.SkipWithError("cp failed");
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kFileSize));
  std::filesystem::remove_all(dir);
}

}  // namespace

BENCHMARK(BM_CopyWithCp)
    ->ArgName("replace")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3.0);
BENCHMARK(BM_CutKalpFile)
    ->ArgName("replace")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3.0);

BENCHMARK_MAIN();
