// The temporary files of a run and the syncs that make them durable.
//
// A temporary file (common::TemporaryFile) is named after its target and the
// program, ".NAME.macrolift-XXXXXX", so that what a killed run leaves can be
// recognised; the next run in that tree removes such leftovers.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace macrolift {

// Runs work(i) for every i below `count` from two threads. Creating, writing
// and renaming many small files is mostly the file system's work, which two
// threads overlap well (a busy machine also gives two threads more time).
template <typename Work>
void forEachIndexInTwoThreads(size_t count, const Work& work) {
  std::atomic<size_t> next{0};
  auto run = [&] {
    for (size_t i = next++; i < count; i = next++) work(i);
  };
  std::vector<std::thread> helpers;
  if (count > 1) helpers.emplace_back(run);
  run();
  for (std::thread& helper : helpers) helper.join();
}

// True for a name a temporary file of this program gets.
bool isLeftoverTemporary(std::string_view name);

bool writeAll(int fd, const uint8_t* data, size_t size);
bool syncFolder(const std::filesystem::path& folder);
// Flushes every file system that holds one of `folders` to disk, once each.
bool syncFileSystems(const std::set<std::filesystem::path>& folders);

}  // namespace macrolift
