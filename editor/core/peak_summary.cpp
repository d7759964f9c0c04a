#include "peak_summary.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vtq {
namespace {

// Frames read per block: large enough for the disk, small enough to show
// progress several times a second.
constexpr size_t kBlockFrames = PeakSummary::kBaseBin * 4096;

PeakPair emptyPair() { return {std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min()}; }

PeakPair peaksOf(std::span<const int32_t> samples) {
  PeakPair pair = emptyPair();
  for (const int32_t s : samples) {
    pair.min = std::min(pair.min, s);
    pair.max = std::max(pair.max, s);
  }
  return pair;
}

}  // namespace

PeakSummary::PeakSummary(uint64_t frameCount) : frameCount_(frameCount) {
  uint64_t bins = (frameCount + kBaseBin - 1) / kBaseBin;
  do {
    levels_.emplace_back(size_t(bins), emptyPair());
    bins = (bins + 1) / 2;
  } while (levels_.back().size() > 1);
  filled_.assign(levels_.size(), 0);
}

void PeakSummary::finishBins(uint64_t binsDone) {
  // A bin of level k is complete once both of its bins below are (or the
  // second does not exist because the sound ends).
  for (size_t level = 1; level < levels_.size(); ++level) {
    const std::vector<PeakPair>& below = levels_[level - 1];
    std::vector<PeakPair>& here = levels_[level];
    const uint64_t belowDone = binsDone;
    binsDone = belowDone == below.size() ? here.size() : belowDone / 2;
    for (uint64_t b = filled_[level]; b < binsDone; ++b) {
      here[b] = below[2 * b];
      if (2 * b + 1 < below.size()) here[b].add(below[2 * b + 1]);
    }
    filled_[level] = std::max(filled_[level], binsDone);
  }
}

void PeakSummary::build(const FilmSound& sound, ChannelChoice channel, const std::atomic<bool>& cancel) {
  std::vector<int32_t> samples(kBlockFrames);
  std::vector<PeakPair>& base = levels_[0];
  for (uint64_t first = 0; first < frameCount_ && !cancel.load(std::memory_order_relaxed); first += kBlockFrames) {
    const size_t got = sound.readFrames(first, samples, channel);
    const size_t wanted = size_t(std::min<uint64_t>(kBlockFrames, frameCount_ - first));
    // A file cut short reads as silence from where it ends.
    std::fill(samples.begin() + std::ptrdiff_t(got), samples.begin() + std::ptrdiff_t(wanted), 0);
    for (size_t at = 0; at < wanted; at += kBaseBin) {
      const size_t count = std::min<size_t>(kBaseBin, wanted - at);
      base[size_t((first + at) / kBaseBin)] = peaksOf(std::span<const int32_t>(samples.data() + at, count));
    }
    const uint64_t done = first + wanted;
    const uint64_t binsDone = done == frameCount_ ? base.size() : done / kBaseBin;
    finishBins(binsDone);
    framesDone_.store(done, std::memory_order_release);
  }
}

PeakPair PeakSummary::peaks(uint64_t first, uint64_t last, double framesPerColumn, bool& found) const {
  found = false;
  last = std::min(last, framesDone());
  if (first >= last) return {};
  size_t level = 0;
  while (level + 1 < levels_.size() && double(binFrames(level + 1)) <= framesPerColumn) ++level;
  const uint64_t size = binFrames(level);
  const std::vector<PeakPair>& bins = levels_[level];
  PeakPair pair = emptyPair();
  for (uint64_t b = first / size; b < (last + size - 1) / size && b < bins.size(); ++b) pair.add(bins[size_t(b)]);
  found = pair.min <= pair.max;
  return pair;
}

void columnPeaks(const PeakSummary& summary, const FilmSound& sound, ChannelChoice channel, double first,
                 double framesPerColumn, std::span<ColumnPeaks> out) {
  const uint64_t total = summary.frameCount();
  const auto edge = [&](size_t column) {
    const double at = std::floor(first + double(column) * framesPerColumn);
    return at <= 0 ? uint64_t(0) : std::min<uint64_t>(uint64_t(at), total);
  };
  if (framesPerColumn >= double(PeakSummary::kBaseBin)) {
    for (size_t i = 0; i < out.size(); ++i)
      out[i].peaks = summary.peaks(edge(i), edge(i + 1), framesPerColumn, out[i].found);
    return;
  }
  // Zoomed in past the summary: the visible frames are few, read them.
  const uint64_t from = edge(0), to = edge(out.size());
  std::vector<int32_t> samples(size_t(to - from) + 1);
  const size_t got = sound.readFrames(from, std::span<int32_t>(samples.data(), size_t(to - from)), channel);
  for (size_t i = 0; i < out.size(); ++i) {
    uint64_t a = edge(i), b = std::max(edge(i + 1), a + 1);
    b = std::min<uint64_t>(b, from + got);
    out[i].found = a < b;
    if (out[i].found) out[i].peaks = peaksOf(std::span<const int32_t>(samples.data() + (a - from), size_t(b - a)));
  }
}

}  // namespace vtq
