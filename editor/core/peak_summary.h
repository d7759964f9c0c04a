// A sound's peaks at several resolutions, as a sound editor's overview file
// holds them: level 0 has the minimum and maximum of every kBaseBin frames,
// each further level of every two bins of the one below. Built once, in a
// worker thread, while the timeline already draws what is ready.
#pragma once

#include <atomic>
#include <cstdint>
#include <span>
#include <vector>

#include "film_sound.h"

namespace vtq {

struct PeakPair {
  int32_t min = 0;
  int32_t max = 0;
  void add(const PeakPair& other) {
    if (other.min < min) min = other.min;
    if (other.max > max) max = other.max;
  }
};

class PeakSummary {
 public:
  static constexpr uint64_t kBaseBin = 256;

  // An empty summary for `frameCount` frames, to be filled by build().
  explicit PeakSummary(uint64_t frameCount);

  // Reads the whole sound and fills every level, block by block; stops early
  // when `cancel` becomes true. framesDone() grows as it goes.
  void build(const FilmSound& sound, ChannelChoice channel, const std::atomic<bool>& cancel);

  uint64_t frameCount() const { return frameCount_; }
  // Frames whose bins are complete at every level (acquire: the bins are
  // visible to the reader once it sees the count).
  uint64_t framesDone() const { return framesDone_.load(std::memory_order_acquire); }
  bool complete() const { return framesDone() == frameCount_; }
  size_t levelCount() const { return levels_.size(); }
  static uint64_t binFrames(size_t level) { return kBaseBin << level; }

  // The peaks of frames [first, last) from the coarsest bins that fit in
  // `framesPerColumn`: exact where first and last fall on those bins' edges,
  // else covering at most one bin more on each side. Only frames done count;
  // `found` tells whether any did.
  PeakPair peaks(uint64_t first, uint64_t last, double framesPerColumn, bool& found) const;

 private:
  void finishBins(uint64_t binsDone);

  uint64_t frameCount_;
  std::vector<std::vector<PeakPair>> levels_;
  std::vector<uint64_t> filled_;  // per level, the bins the builder has filled
  std::atomic<uint64_t> framesDone_{0};
};

// The peaks of one pixel column per entry of `out`: column i covers frames
// [first + i * framesPerColumn, first + (i + 1) * framesPerColumn). Columns
// finer than the summary's bins are read from the sound itself. A column with
// nothing to show (outside the sound, not built yet) gets found = false.
struct ColumnPeaks {
  PeakPair peaks;
  bool found = false;
};
void columnPeaks(const PeakSummary& summary, const FilmSound& sound, ChannelChoice channel, double first,
                 double framesPerColumn, std::span<ColumnPeaks> out);

}  // namespace vtq
