// The temporary files of a run (the syncs that make them durable are
// common/disk_writes.h).
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

#include "common/disk_writes.h"

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

}  // namespace macrolift
