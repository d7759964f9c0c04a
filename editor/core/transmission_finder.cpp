#include "transmission_finder.h"

#include <algorithm>
#include <cmath>

namespace vtq {
namespace {

constexpr size_t kStep = PulseFilter::kGridStep;
// The bits every packet starts with: A A A 2 and the 101 of 0xA0 | length.
constexpr uint8_t kKnownBits[] = {1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0, 1, 0, 1, 0, 1};
constexpr int kKnownOnes = 9, kKnownZeros = 10;
// The 1 slots must average this many times the 0 slots.
constexpr float kContrast = 2.5f;
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
  FoundTransmission found;
  found.start = refineStart(bestStart);
  const std::vector<float> values = bitValues(found.start);
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
