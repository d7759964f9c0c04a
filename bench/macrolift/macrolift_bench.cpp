// Converts a generated project tree of 20,000 Game Boy macro files in 200
// folders, as macrolift does, and for comparison copies the same tree with
// std::filesystem::copy and rewrites every file of a copy with
// `rsync -a -I` (each file written to a temporary file and renamed, as
// macrolift does; macrolift should be no slower).
//
//   macrolift_bench [benchmark options]
//   macrolift_bench --make-tree DIR   only writes the tree into DIR, so that
//                                     `cp -r` can be timed on it by hand
//   macrolift_bench --compare DIR     macrolift against `rsync -a -I` over
//                                     5,000 and 20,000 macros in DIR, which
//                                     must be on a disk file system (not
//                                     tmpfs): the median of five runs of
//                                     each, taken in turn, and their ratio
#include <benchmark/benchmark.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "macrolift/macro_lift.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFolders = 200;
constexpr int kMacrosPerFolder = 100;
constexpr int kCompareRuns = 5;

// Game Boy commands that occur in real macros, two of which become two steps.
constexpr uint8_t kCommands[] = {7, 11, 12, 13, 14, 15, 17, 18, 20, 21, 22, 24, 25, 27, 28, 38, 39, 5};

void makeTree(const fs::path& root, int folders = kFolders) {
  fs::remove_all(root);
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return seed >> 16;
  };
  for (int f = 0; f < folders; ++f) {
    const fs::path folder = root / ("bank" + std::to_string(f));
    fs::create_directories(folder);
    std::ofstream(folder / "project.vqp") << "[Project]\nName=Bank " << f << "\nMacrodefs=..\\macrodef.vqd\n";
    for (int m = 0; m < kMacrosPerFolder; ++m) {
      std::vector<char> bytes;
      const int steps = 4 + int(next() % 21);
      for (int s = 0; s < steps; ++s) {
        const uint8_t step[8] = {kCommands[next() % std::size(kCommands)],
                                 uint8_t(next()),
                                 uint8_t(next()),
                                 0,
                                 uint8_t(next()),
                                 0,
                                 uint8_t(next()),
                                 uint8_t(next())};
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

// The file system's name, from the magic number statfs gives.
std::string fileSystemName(const fs::path& folder) {
  struct statfs info {};
  if (::statfs(folder.c_str(), &info) != 0) return "unknown";
  switch (static_cast<unsigned long>(info.f_type)) {
    case 0xEF53: return "ext4";  // ext2, ext3 and ext4 share it
    case 0x58465342: return "xfs";
    case 0x9123683E: return "btrfs";
    case 0x01021994: return "tmpfs";
    case 0x794C7630: return "overlayfs";
    default: return "type 0x" + std::to_string(static_cast<unsigned long>(info.f_type));
  }
}

double secondsOf(const std::function<bool()>& run) {
  ::sync();  // the tree just made is on the disk: neither run pays for it
  const auto start = std::chrono::steady_clock::now();
  if (!run()) throw std::runtime_error("a run failed");
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// rsync and macrolift take turns, each on a tree as it was before any run.
int compareWithRsync(const fs::path& base) {
  fs::create_directories(base);
  const std::string type = fileSystemName(base);
  if (type == "tmpfs") {
    std::cerr << "macrolift_bench: " << base << " is on tmpfs; give a folder on a disk\n";
    return 2;
  }
  std::cout << "file system: " << type << " (" << base.string() << ")\n";
  for (const int macros : {5000, 20000}) {
    const int folders = macros / kMacrosPerFolder;
    const fs::path source = base / "source", copy = base / "copy", tree = base / "tree";
    makeTree(source, folders);
    fs::remove_all(copy);
    fs::copy(source, copy, fs::copy_options::recursive);
    const std::string rsync = "rsync -a -I '" + source.string() + "/' '" + copy.string() + "/'";
    std::vector<double> lift, sync;
    for (int run = 0; run < kCompareRuns; ++run) {
      makeTree(tree, folders);
      auto timeRsync = [&] { sync.push_back(secondsOf([&] { return std::system(rsync.c_str()) == 0; })); };
      auto timeLift = [&] {
        std::ostringstream console;
        common::Output out(console);
        lift.push_back(secondsOf(
            [&] { return macrolift::runMacroLift(tree, out, macrolift::KeyWait::Never) == macrolift::kDone; }));
      };
      if (run % 2) {
        timeLift();
        timeRsync();
      } else {
        timeRsync();
        timeLift();
      }
    }
    std::printf("%d macros: macrolift %.3f s, rsync -a -I %.3f s (medians of %d): %.2fx\n", macros, median(lift),
                median(sync), kCompareRuns, median(lift) / median(sync));
    std::fflush(stdout);
  }
  fs::remove_all(base);
  return 0;
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
  if (argc == 3 && std::strcmp(argv[1], "--compare") == 0)
    return compareWithRsync(fs::path(argv[2]) / ("macrolift-bench-" + std::to_string(::getpid())));
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
