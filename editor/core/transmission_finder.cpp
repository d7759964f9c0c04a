#include "transmission_finder.h"

#include <cmath>

namespace vtq {
namespace {

// The bits every packet starts with: A A A 2 and the 101 of 0xA0 | length.
constexpr uint8_t kKnownBits[] = {1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0, 1, 0, 1, 0, 1};
constexpr int kKnownOnes = 9, kKnownZeros = 10;
// The 1 slots must average this many times the 0 slots.
constexpr float kContrast = 3.0f;
// Below this the filter sees digital silence or dither (a pulse at full scale
// gives about 100,000): no start is looked for there.
constexpr float kFloor = 30.0f;

}  // namespace

bool TransmissionFinder::Score::betterThan(const Score& other) const {
  if (errors != other.errors) return errors < other.errors;
  return one - zero > other.one - other.zero;
}

TransmissionFinder::TransmissionFinder(double bitSamples, size_t gridStep) : gridStep_(gridStep) {
  for (size_t bit = 0; bit <= kMaxPacketBits; ++bit)
    offsets_.push_back(size_t(std::lround(double(bit) * bitSamples / double(gridStep))));
}

TransmissionFinder::Score TransmissionFinder::score(size_t start) const {
  float value[std::size(kKnownBits)];
  Score s;
  for (size_t b = 0; b < std::size(kKnownBits); ++b) {
    value[b] = at(start + offsets_[b]);
    (kKnownBits[b] ? s.one : s.zero) += value[b];
  }
  s.one /= kKnownOnes;
  s.zero /= kKnownZeros;
  const float threshold = (s.one + s.zero) / 2;
  s.errors = 0;
  for (size_t b = 0; b < std::size(kKnownBits); ++b) s.errors += (value[b] >= threshold) != (kKnownBits[b] != 0);
  return s;
}

// A quick look at the first slots (1 0 1 0 1) before the whole pattern; one
// of the later pulses may be missing, as the pattern allows.
bool TransmissionFinder::plausible(size_t start) const {
  const float first = at(start);
  if (first < kFloor) return false;
  const float gap = 2 * at(start + offsets_[1]);
  return first > gap && (at(start + offsets_[2]) > gap || at(start + offsets_[4]) > gap);
}

// Decodes the packet at the best start near `start`; returns the grid index
// from which to look on.
size_t TransmissionFinder::decodeAt(size_t start) {
  Score best = score(start);
  size_t bestStart = start;
  for (size_t s = start + 1; s <= start + offsets_[1] / 2; ++s) {
    const Score candidate = score(s);
    if (candidate.betterThan(best)) {
      best = candidate;
      bestStart = s;
    }
  }
  const float threshold = (best.one + best.zero) / 2;
  uint8_t bits[kMaxPacketBits];
  for (size_t b = 0; b < kMaxPacketBits; ++b) bits[b] = at(bestStart + offsets_[b]) >= threshold;
  FoundTransmission found;
  found.start = double(bestStart * gridStep_);
  found.packet = decodePacket(bits);
  const size_t span = found.packet.bitCount > kPacketHeadBits ? found.packet.bitCount : 1;
  found_.push_back(std::move(found));
  return bestStart + offsets_[span];
}

void TransmissionFinder::scan(size_t end) {
  size_t start = next_;
  while (start < end) {
    if (plausible(start)) {
      const Score s = score(start);
      if (s.errors <= 1 && s.one >= kContrast * s.zero && s.one >= kFloor) {
        start = decodeAt(start);
        continue;
      }
    }
    ++start;
  }
  next_ = start;
}

void TransmissionFinder::push(std::span<const float> magnitudes) {
  levels_.insert(levels_.end(), magnitudes.begin(), magnitudes.end());
  // A start is tried once the longest packet from it, and the search for its
  // best position, lie in what has arrived.
  const size_t reach = offsets_.back() + offsets_[1] + 1;
  const size_t available = base_ + levels_.size();
  if (available > reach) scan(available - reach);
  if (next_ > base_) {
    const size_t drop = std::min(next_ - base_, levels_.size());
    levels_.erase(levels_.begin(), levels_.begin() + std::ptrdiff_t(drop));
    base_ += drop;
  }
}

void TransmissionFinder::finish() { scan(base_ + levels_.size()); }

}  // namespace vtq
