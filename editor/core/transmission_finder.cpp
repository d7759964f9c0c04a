#include "transmission_finder.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <utility>

namespace vtq {
namespace {

constexpr size_t kStep = PulseFilter::kGridStep;
// The bits every packet starts with: A A A 2 and the 101 of 0xA0 | length.
constexpr uint8_t kKnownBits[] = {1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0, 1, 0, 1, 0, 1};
constexpr int kKnownOnes = 9, kKnownZeros = 10;
// The 1 slots must average this many times the 0 slots.
constexpr float kContrast = 2.5f;
// A bit whose value lies within this share of the gap between the two levels
// from the midpoint is weak: noise may have put it on the wrong side.
constexpr float kWeakShare = 0.3f;
// The weakest bits whose other readings are tried, and the bits on each side
// whose spread around their levels measures the noise where a bit lies.
constexpr size_t kMaxWeakBits = 4;
constexpr size_t kNoiseReach = 8;
// Below this the filter sees digital silence or dither (a pulse at full scale
// gives about 100,000): no start is looked for there.
constexpr float kFloor = 30.0f;

}  // namespace

bool TransmissionFinder::Score::betterThan(const Score& other) const {
  if (errors != other.errors) return errors < other.errors;
  return one - zero > other.one - other.zero;
}

TransmissionFinder::TransmissionFinder(uint32_t documentRate, uint32_t mixRate)
    : filter_(documentRate, mixRate), bitSamples_(bitSamplesInMix(documentRate, mixRate)) {
  for (size_t bit = 0; bit <= kMaxPacketBits; ++bit)
    offsets_.push_back(size_t(std::lround(double(bit) * bitSamples_ / double(kStep))));
}

TransmissionFinder::Score TransmissionFinder::score(size_t start) const {
  float value[std::size(kKnownBits)];
  Score s;
  for (size_t b = 0; b < std::size(kKnownBits); ++b) {
    value[b] = level(start + offsets_[b]);
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
  const float first = level(start);
  if (first < kFloor) return false;
  const float gap = 1.5f * level(start + offsets_[1]);
  return first > gap && (level(start + offsets_[2]) > gap || level(start + offsets_[4]) > gap);
}

std::complex<float> TransmissionFinder::responseAt(int64_t sample) const {
  const size_t taps = filter_.tapCount();
  const int64_t at = sample - int64_t(sampleBase_);
  if (at >= 0 && size_t(at) + taps <= samples_.size()) return filter_.response(samples_.data() + at);
  std::vector<float> window(taps, 0.0f);  // at the ends of the mix
  for (size_t k = 0; k < taps; ++k) {
    if (at + int64_t(k) >= 0 && size_t(at) + k < samples_.size()) window[k] = samples_[size_t(at) + k];
  }
  return filter_.response(window.data());
}

// The sample near the grid start where the pattern's 1 bits respond most.
double TransmissionFinder::refineStart(size_t gridStart) const {
  double best = double(gridStart * kStep), bestSum = -1;
  for (int64_t shift = -int64_t(kStep); shift <= int64_t(kStep); ++shift) {
    const double start = double(int64_t(gridStart * kStep) + shift);
    double sum = 0;
    for (size_t b = 0; b < std::size(kKnownBits); ++b) {
      if (kKnownBits[b]) sum += std::abs(responseAt(std::llround(start + double(b) * bitSamples_)));
    }
    if (sum > bestSum) {
      bestSum = sum;
      best = start;
    }
  }
  return best;
}

// Each bit's response, turned to the phase of the pattern's pulses; a pulse
// reads as its strength, its absence as noise around 0.
std::vector<float> TransmissionFinder::bitValues(double start) const {
  std::vector<std::complex<float>> turned(kMaxPacketBits);
  for (size_t b = 0; b < kMaxPacketBits; ++b) {
    const double ideal = start + double(b) * bitSamples_;
    const int64_t at = std::llround(ideal);
    turned[b] = responseAt(at) * std::polar(1.0f, float(filter_.carrierStep() * (double(at) - ideal)));
  }
  std::complex<float> phase;
  for (size_t b = 0; b < std::size(kKnownBits); ++b) {
    if (kKnownBits[b]) phase += turned[b];
  }
  phase = std::abs(phase) > 0 ? std::conj(phase) / std::abs(phase) : std::complex<float>(1, 0);
  std::vector<float> values(kMaxPacketBits);
  for (size_t b = 0; b < kMaxPacketBits; ++b) values[b] = (turned[b] * phase).real();
  return values;
}

DecodedPacket TransmissionFinder::decodeWithThreshold(const std::vector<float>& values, float threshold) {
  uint8_t bits[kMaxPacketBits];
  for (size_t b = 0; b < kMaxPacketBits; ++b) bits[b] = values[b] >= threshold;
  return decodePacket(bits);
}

// The midpoint between the mean 1 bit and the mean 0 bit of the first `count`
// values, split at the `first` midpoint.
float TransmissionFinder::midpoint(const std::vector<float>& values, size_t count, float first) {
  float one = 0, zero = 0;
  size_t ones = 0;
  for (size_t b = 0; b < count; ++b) {
    const bool isOne = values[b] >= first;
    (isOne ? one : zero) += values[b];
    ones += isOne;
  }
  if (ones == 0 || ones == count) return first;
  return (one / float(ones) + zero / float(count - ones)) / 2;
}

// The weak bits of the first `count` values, weakest first: those near the
// midpoint, weighed by the noise of their neighbours, so that a bit in a
// loud stretch counts as less sure than one as near in a quiet stretch.
std::vector<size_t> TransmissionFinder::weakBits(const std::vector<float>& values, size_t count, float threshold) {
  float one = 0, zero = 0;
  size_t ones = 0;
  for (size_t b = 0; b < count; ++b) {
    (values[b] >= threshold ? one : zero) += values[b];
    ones += values[b] >= threshold;
  }
  if (ones == 0 || ones == count) return {};
  one /= float(ones);
  zero /= float(count - ones);
  std::vector<float> spread(count);
  for (size_t b = 0; b < count; ++b) spread[b] = values[b] - (values[b] >= threshold ? one : zero);
  std::vector<std::pair<float, size_t>> weak;
  for (size_t b = 0; b < count; ++b) {
    const float distance = std::abs(values[b] - threshold);
    if (distance >= kWeakShare * (one - zero)) continue;
    float noise = 0;
    for (size_t j = b > kNoiseReach ? b - kNoiseReach : 0; j < std::min(count, b + kNoiseReach + 1); ++j)
      noise += j == b ? 0.0f : spread[j] * spread[j];
    weak.emplace_back(distance / std::sqrt(noise + 1e-6f), b);
  }
  std::sort(weak.begin(), weak.end());
  std::vector<size_t> indices;
  for (size_t w = 0; w < std::min(weak.size(), kMaxWeakBits); ++w) indices.push_back(weak[w].second);
  return indices;
}

// Takes the fewest weak bits (the weakest first, none at all when the values
// pass as they are) the other way, so that the packet's header passes
// (`Reach::Header`) or the whole packet passes every check; false, with the
// values as they were, when no choice does.
bool TransmissionFinder::turnWeakBits(std::vector<float>& values, float threshold, const std::vector<size_t>& weak,
                                      Reach reach) {
  uint8_t bits[kMaxPacketBits];
  for (size_t b = 0; b < kMaxPacketBits; ++b) bits[b] = values[b] >= threshold;
  std::vector<unsigned> masks;
  for (unsigned mask = 0; mask < (1u << weak.size()); ++mask) masks.push_back(mask);
  std::stable_sort(masks.begin(), masks.end(), [](unsigned a, unsigned b) { return std::popcount(a) < std::popcount(b); });
  for (const unsigned mask : masks) {
    for (size_t w = 0; w < weak.size(); ++w) bits[weak[w]] ^= uint8_t(mask >> w & 1);
    const PacketCheck check = decodePacket(bits).check;
    for (size_t w = 0; w < weak.size(); ++w) bits[weak[w]] ^= uint8_t(mask >> w & 1);
    if (check == PacketCheck::Intact || (reach == Reach::Header && check != PacketCheck::Header)) {
      // A turned bit is put as far from the midpoint as the header's bits
      // lie on average, so that a steadier midpoint later reads it the same.
      float typical = 0;
      for (size_t b = 0; b < kPacketHeadBits; ++b) typical += std::abs(values[b] - threshold) / kPacketHeadBits;
      for (size_t w = 0; w < weak.size(); ++w) {
        if (mask >> w & 1) values[weak[w]] = threshold + (values[weak[w]] >= threshold ? -typical : typical);
      }
      return true;
    }
  }
  return false;
}

// A packet that fails its checks as read: its weak bits are tried the other
// way, first in its header (which gives its length), then in the whole packet.
DecodedPacket TransmissionFinder::readWeakBits(const std::vector<float>& values, float threshold,
                                               const DecodedPacket& asRead) {
  std::vector<float> mended = values;
  size_t count = asRead.bitCount;
  if (asRead.check == PacketCheck::Header) {
    if (!turnWeakBits(mended, threshold, weakBits(mended, kPacketHeadBits, threshold), Reach::Header)) return asRead;
    count = decodeWithThreshold(mended, threshold).bitCount;
  }
  const float steady = midpoint(mended, count, threshold);
  if (!turnWeakBits(mended, steady, weakBits(mended, count, steady), Reach::Packet)) return asRead;
  const DecodedPacket mendedPacket = decodeWithThreshold(mended, steady);
  return mendedPacket.check == PacketCheck::Intact ? mendedPacket : asRead;
}

// Reads the packet whose first pulse starts at `start`.
FoundTransmission TransmissionFinder::readAt(double start) const {
  FoundTransmission found;
  found.start = start;
  const std::vector<float> values = bitValues(start);
  float one = 0, zero = 0;
  for (size_t b = 0; b < std::size(kKnownBits); ++b) (kKnownBits[b] ? one : zero) += values[b];
  const float threshold = (one / kKnownOnes + zero / kKnownZeros) / 2;
  found.packet = decodeWithThreshold(values, threshold);
  if (found.packet.check != PacketCheck::Intact && found.packet.bitCount > kPacketHeadBits) {
    // The pattern's 19 bits give a rough midpoint; the levels of all the
    // packet's bits as first read give a steadier one.
    const DecodedPacket second = decodeWithThreshold(values, midpoint(values, found.packet.bitCount, threshold));
    if (second.check == PacketCheck::Intact) found.packet = second;
  }
  if (found.packet.check != PacketCheck::Intact) found.packet = readWeakBits(values, threshold, found.packet);
  return found;
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
  FoundTransmission found = readAt(refineStart(bestStart));
  // An intact packet is passed over whole; after anything else the search
  // goes on from the next bit, in case the start was a false one that hid a
  // real packet.
  const size_t span = found.packet.check == PacketCheck::Intact ? found.packet.bitCount : 1;
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

// Forgets what lies before the next start to try (and the search around it).
void TransmissionFinder::drop() {
  if (next_ > base_) {
    const size_t count = std::min(next_ - base_, levels_.size());
    levels_.erase(levels_.begin(), levels_.begin() + std::ptrdiff_t(count));
    base_ += count;
  }
  const size_t keepFrom = next_ * kStep > 2 * kStep ? next_ * kStep - 2 * kStep : 0;
  if (keepFrom > sampleBase_) {
    const size_t count = std::min(keepFrom - sampleBase_, samples_.size());
    samples_.erase(samples_.begin(), samples_.begin() + std::ptrdiff_t(count));
    sampleBase_ += count;
  }
}

void TransmissionFinder::push(std::span<const float> samples) {
  samples_.insert(samples_.end(), samples.begin(), samples.end());
  filter_.push(samples, levels_);
  // A start is tried once the longest packet from it, and the search for its
  // best position, lie in what has arrived.
  const size_t reach = offsets_.back() + offsets_[1] + 2;
  const size_t available = base_ + levels_.size();
  if (available > reach) scan(available - reach);
  drop();
}

void TransmissionFinder::finish() {
  filter_.finish(levels_);
  scan(base_ + levels_.size());
}

}  // namespace vtq
