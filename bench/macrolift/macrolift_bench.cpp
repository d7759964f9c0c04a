// Converts a generated project tree of 20,000 Game Boy macro files in 200
// folders, as macrolift does, and for comparison copies the same tree with
// std::filesystem::copy and rewrites every file of a copy with
// `rsync -a -I` (each file written to a temporary file and renamed, as
// macrolift does; macrolift should be no slower).
//
//   macrolift_bench [benchmark options]
//   macrolift_bench --make-tree DIR   only writes the tree into DIR, so that
//                                     `cp -r` can be timed on it by hand
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <vector>

#include "macrolift/macro_lift.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFolders = 200;
constexpr int kMacrosPerFolder = 100;

// Game Boy commands that occur in real macros, two of which become two steps.
constexpr uint8_t kCommands[] = {7, 11, 12, 13, 14, 15, 17, 18, 20, 21, 22, 24, 25, 27, 28, 38, 39, 5};

void makeTree(const fs::path& root) {
  fs::remove_all(root);
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return seed >> 16;
  };
  for (int f = 0; f < kFolders; ++f) {
    const fs::path folder = root / ("bank" + std::to_string(f));
    fs::create_directories(folder);
    std::ofstream(folder / "project.vqp") << "[Project]\nName=Bank " << f << "\nMacrodefs=..\\macrodef.vqd\n";
    for (int m = 0; m < kMacrosPerFolder; ++m) {
      std::vector<char> bytes;
      const int steps = 4 + int(next() % 21);
      for (int s = 0; s < steps; ++s) {
        const uint8_t step[8] = {kCommands[next() % std::size(kCommands)], uint8_t(next()), uint8_t(next()), 0,
                                 uint8_t(next()), 0, uint8_t(next()), uint8_t(next())};
        bytes.insert(bytes.end(), step, step + 8);
      }
      bytes.insert(bytes.end(), 8, 0);
      std::ofstream(folder / ("sfx" + std::to_string(m) + ".vqm"), std::ios::binary)
          .write(bytes.data(), std::streamsize(bytes.size()));
    }
  }
  std::ofstream(root / "macrodef.vqd") << "[$07]\nName = WAIT\n";
}

fs::path benchFolder() { return fs::temp_directory_path() / ("macrolift-bench-" + std::to_string(::getpid())); }

void BM_ConvertProjectTree(benchmark::State& state) {
  const fs::path root = benchFolder() / "tree";
  for (auto _ : state) {
    state.PauseTiming();
    makeTree(root);
    std::ostringstream console;
    common::Output out(console);
    state.ResumeTiming();
    if (macrolift::runMacroLift(root, out, macrolift::KeyWait::Never) != macrolift::kDone) {
      state.SkipWithError("macrolift failed");
    }
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * kFolders * kMacrosPerFolder);
  fs::remove_all(benchFolder());
}

void BM_CopyProjectTree(benchmark::State& state) {
  const fs::path root = benchFolder() / "tree";
  const fs::path copy = benchFolder() / "copy";
  makeTree(root);
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(copy);
    state.ResumeTiming();
    fs::copy(root, copy, fs::copy_options::recursive);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * kFolders * kMacrosPerFolder);
  fs::remove_all(benchFolder());
}

void BM_RsyncProjectTree(benchmark::State& state) {
  const fs::path root = benchFolder() / "tree";
  const fs::path copy = benchFolder() / "copy";
  makeTree(root);
  fs::copy(root, copy, fs::copy_options::recursive);
  // -I: every file is transferred again although size and time match.
  const std::string command = "rsync -a -I '" + root.string() + "/' '" + copy.string() + "/'";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("rsync failed (is it installed?)");
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * kFolders * kMacrosPerFolder);
  fs::remove_all(benchFolder());
}

}  // namespace

BENCHMARK(BM_RsyncProjectTree)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ConvertProjectTree)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_CopyProjectTree)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--make-tree") == 0) {
    makeTree(argv[2]);
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
