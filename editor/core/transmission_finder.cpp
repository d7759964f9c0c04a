#include "transmission_finder.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <optional>

namespace vtq {
namespace {

constexpr size_t kStep = PulseFilter::kGridStep;
// The bits every packet starts with: A A A 2 and the 101 of 0xA0 | length.
constexpr uint8_t kKnownBits[] = {1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0, 1, 0, 1, 0, 1};
constexpr size_t kKnownCount = std::size(kKnownBits);
constexpr int kKnownOnes = 9, kKnownZeros = 10;
// Pulses of the pattern whose place gives the period (no other pulse can lie
// near them at any period searched), and the one that makes it precise.
constexpr size_t kPeriodAnchors[] = {4, 6};
constexpr size_t kPeriodFine = 10;
// Decode filters are made for speeds in steps of this much.
constexpr double kSpeedBin = 0.0025;
// The track's clock is taken from this many of the last intact packets.
constexpr size_t kRecentPackets = 9;

}  // namespace

struct TransmissionFinder::Reading {
  double start = 0, period = 0;
  std::vector<float> values;  // each bit's response turned to the pulses' phase
  float threshold = 0;
  float syncEnergy = 0;  // the pattern's 1 bits summed in phase
  DecodedPacket packet;
};

bool TransmissionFinder::Score::betterThan(const Score& other) const {
  if (errors != other.errors) return errors < other.errors;
  return one - zero > other.one - other.zero;
}

TransmissionFinder::TransmissionFinder(uint32_t documentRate, uint32_t mixRate, const FinderTuning& tuning)
    : tuning_(tuning),
      documentRate_(documentRate),
      mixRate_(mixRate),
      filter_(documentRate, mixRate),
      periodMin_(std::min(bitSamplesInMix(44100, mixRate), bitSamplesInMix(48000, mixRate)) / tuning.fastest),
      periodMax_(std::max(bitSamplesInMix(44100, mixRate), bitSamplesInMix(48000, mixRate)) / tuning.slowest) {
  reach_ = slot(kMaxPacketBits + 2, periodMax_ * 1.01) + slot(1, periodMax_) + 4 +
           (PulseFilter(44100, mixRate, tuning.slowest).tapCount() + kStep) / kStep;
  firstReach_ = slot(1, periodMin_) / 2;
  gapSlot_ = slot(1, (periodMin_ + periodMax_) / 2);
  followClock(std::nullopt);
}

// The grid index of bit `bit` from a start, rounded to the nearest (the
// values are positive, so adding a half and truncating rounds as lround
// does, without its call in the finder's innermost loops).
size_t TransmissionFinder::slot(size_t bit, double period) const {
  // NOLINTNEXTLINE(bugprone-incorrect-roundings): positive values, as said above
  return size_t(double(bit) * period / double(kStep) + 0.5);
}

TransmissionFinder::SlotOffsets TransmissionFinder::slotOffsets(double period) const {
  static_assert(std::tuple_size_v<SlotOffsets> == kKnownCount);
  SlotOffsets offsets;
  for (size_t b = 0; b < kKnownCount; ++b) offsets[b] = slot(b, period);
  return offsets;
}

TransmissionFinder::Score TransmissionFinder::score(size_t start, const SlotOffsets& offsets) const {
  float value[kKnownCount];
  Score s;
  for (size_t b = 0; b < kKnownCount; ++b) {
    value[b] = level(start + offsets[b]);
    (kKnownBits[b] ? s.one : s.zero) += value[b];
  }
  s.one /= kKnownOnes;
  s.zero /= kKnownZeros;
  const float threshold = (s.one + s.zero) / 2;
  s.errors = 0;
  for (size_t b = 0; b < kKnownCount; ++b) s.errors += (value[b] >= threshold) != (kKnownBits[b] != 0);
  return s;
}

bool TransmissionFinder::passes(const Score& s) const {
  return s.errors <= tuning_.wrongSyncSlots && s.one >= tuning_.contrast * s.zero && s.one >= tuning_.floor;
}

// The grid index of the largest level in [from, to].
size_t TransmissionFinder::peakIn(size_t from, size_t to) const {
  if (from >= base_ && to - base_ < levels_.size()) {  // all of it at hand, as nearly always
    const float* first = levels_.data() + (from - base_);
    return from + size_t(std::max_element(first, first + (to - from + 1)) - first);
  }
  size_t at = from;
  for (size_t i = from + 1; i <= to; ++i) at = level(i) > level(at) ? i : at;
  return at;
}

// A quick look at the first slots before the whole pattern: a pulse, a gap
// after it, and a pulse where the third or the fifth slot may lie at any
// period searched (one of them may be missing, as the pattern allows).
bool TransmissionFinder::plausible(size_t start) const {
  const float first = level(start);
  if (first < tuning_.floor) return false;
  const float gap = tuning_.gapFactor * level(start + gapSlot_);
  if (first <= gap) return false;
  for (size_t bit : {2, 4}) {
    if (level(peakIn(start + slot(bit, periodMin_), start + slot(bit, periodMax_))) > gap) return true;
  }
  return false;
}

// The periods measured from the peak of the first pulse to the peaks of the
// anchor pulses, each made precise on a later pulse.
TransmissionFinder::PeriodGuesses TransmissionFinder::guessPeriods(size_t first) const {
  static_assert(std::size(kPeriodAnchors) == std::size(PeriodGuesses{}.periods));
  PeriodGuesses guesses;
  guesses.first = first;
  for (size_t i = 0; i < std::size(kPeriodAnchors); ++i) {
    const size_t anchor = kPeriodAnchors[i];
    const size_t at = peakIn(first + slot(anchor, periodMin_), first + slot(anchor, periodMax_));
    const double period = double((at - first) * kStep) / double(anchor);
    const size_t spread = 2 * kPeriodFine / anchor + 2;
    const size_t guess = first + slot(kPeriodFine, period);
    const size_t fine = peakIn(guess - spread, guess + spread);
    guesses.periods[i] = std::clamp(double((fine - first) * kStep) / double(kPeriodFine), periodMin_, periodMax_);
    guesses.offsets[i] = slotOffsets(guesses.periods[i]);
  }
  return guesses;
}

// The better of the guessed periods for a start at `start` (where the first
// pulse begins to respond; the guesses are measured from its peak).
TransmissionFinder::Candidate TransmissionFinder::candidateAt(size_t start, const PeriodGuesses& guesses) const {
  Candidate best{start, 0, Score{}};
  for (size_t i = 0; i < std::size(guesses.periods); ++i) {
    const Score s = score(start, guesses.offsets[i]);
    if (s.betterThan(best.score)) best = {start, guesses.periods[i], s};
  }
  // Under loud noise the peaks wander: a pattern that nearly fits is tried
  // at the track's own clock too.
  if (best.score.errors > tuning_.clockRetryErrors) return best;
  for (size_t i = 0; i < std::size(clockPeriods_); ++i) {
    const Score s = score(start, clockOffsets_[i]);
    if (s.betterThan(best.score)) best = {start, clockPeriods_[i], s};
  }
  return best;
}

// The best start and period near a candidate: half a bit on, and the period
// a little either way.
TransmissionFinder::Candidate TransmissionFinder::bestNear(const Candidate& found) const {
  std::vector<double> periods;
  for (int j = -2; j <= 2; ++j) periods.push_back(found.period * (1 + 0.002 * j));
  for (double period : clockPeriods_) {
    if (std::abs(period / found.period - 1) < tuning_.clockReach) periods.push_back(period);
  }
  Candidate best = found;
  for (size_t s = found.start; s <= found.start + slot(1, found.period) / 2; ++s) {
    for (double period : periods) {
      const Score candidate = score(s, period);
      if (candidate.betterThan(best.score)) best = {s, period, candidate};
    }
  }
  return best;
}

// The filter's response at a fractional position, turned as if the window
// started exactly there.
std::complex<float> TransmissionFinder::responseAt(const PulseFilter& filter, double position) const {
  const int64_t sample = std::llround(position);
  const size_t taps = filter.tapCount();
  const int64_t at = sample - int64_t(sampleBase_);
  const auto turn = std::polar(1.0f, float(filter.carrierStep() * (double(sample) - position)));
  if (at >= 0 && size_t(at) + taps <= samples_.size()) return filter.response(samples_.data() + at) * turn;
  std::vector<float> window(taps, 0.0f);  // at the ends of the mix
  for (size_t k = 0; k < taps; ++k) {
    if (at + int64_t(k) >= 0 && size_t(at + int64_t(k)) < samples_.size()) window[k] = samples_[size_t(at) + k];
  }
  return filter.response(window.data()) * turn;
}

const PulseFilter& TransmissionFinder::decodeFilter(uint32_t pulseRate, double speed) {
  const int bin = int(std::lround((speed - 1) / kSpeedBin));
  auto& filter = decodeFilters_[{pulseRate, bin}];
  if (!filter) filter = std::make_unique<PulseFilter>(pulseRate, mixRate_, 1 + bin * kSpeedBin);
  return *filter;
}

// The start to the sample (where the pattern's pulses respond most), then the
// period (where they add up most in phase).
void TransmissionFinder::refine(const PulseFilter& filter, Reading& r, Period search) const {
  const double grid = r.start;
  double bestSum = -1;
  for (int shift = -int(kStep); shift <= int(kStep); ++shift) {
    float sum = 0;
    for (size_t b = 0; b < kKnownCount; ++b)
      if (kKnownBits[b]) sum += std::abs(responseAt(filter, grid + shift + double(b) * r.period));
    if (sum > bestSum) {
      bestSum = sum;
      r.start = grid + shift;
    }
  }
  const double coarse = r.period;
  const int reach = search == Period::Search ? 8 : 0;
  bestSum = -1;
  for (int j = -reach; j <= reach; ++j) {
    const double period = coarse * (1 + 0.0005 * j);
    std::complex<float> sum;
    for (size_t b = 0; b < kKnownCount; ++b)
      if (kKnownBits[b]) sum += responseAt(filter, r.start + double(b) * period);
    if (std::abs(sum) > bestSum) {
      bestSum = std::abs(sum);
      r.period = period;
    }
  }
  r.syncEnergy = float(bestSum);
}

// The carrier phase of the packet's pulses along its bits, a line: at the
// track's own speed the pulses keep their phase, and a clock a little off
// theirs turns it by the same amount every bit.
struct PhaseLine {
  float at0 = 0, perBit = 0;
  std::complex<float> turn(size_t bit) const { return std::polar(1.0f, -(at0 + perBit * float(bit))); }
};

// Moves the line to the phases of the bits in [0, count) that read as 1,
// weighted by their strength (least squares over what is left of each phase).
void fitPhase(const std::vector<std::complex<float>>& responses, size_t count, float threshold, PhaseLine& line) {
  double sw = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (size_t b = 0; b < count; ++b) {
    const std::complex<float> turned = responses[b] * line.turn(b);
    if (turned.real() < threshold) continue;
    const double w = std::abs(turned), x = double(b), y = std::arg(turned);
    sw += w;
    sx += w * x;
    sy += w * y;
    sxx += w * x * x;
    sxy += w * x * y;
  }
  const double det = sw * sxx - sx * sx;
  if (sw <= 0 || det <= 1e-9 * sw * sxx) return;
  const double slope = (sw * sxy - sx * sy) / det;
  line.perBit += float(slope);
  line.at0 += float((sy - slope * sx) / sw);
}

// Reads every bit against the carrier phase of the pattern's pulses, carried
// along the packet as a line fitted to the pulses read so far, over more of
// the packet each time.
TransmissionFinder::Reading TransmissionFinder::read(const PulseFilter& filter, double start, double period,
                                                     Period search) const {
  Reading r;
  r.start = start;
  r.period = period;
  refine(filter, r, search);
  std::vector<std::complex<float>> responses(kMaxPacketBits);
  std::complex<float> sum;
  for (size_t b = 0; b < kMaxPacketBits; ++b) {
    responses[b] = responseAt(filter, r.start + double(b) * r.period);
    if (b < kKnownCount && kKnownBits[b]) sum += responses[b];
  }
  PhaseLine line{std::arg(sum), 0};
  const auto syncThreshold = [&] {
    float one = 0, zero = 0;
    for (size_t b = 0; b < kKnownCount; ++b) (kKnownBits[b] ? one : zero) += (responses[b] * line.turn(b)).real();
    return (one / kKnownOnes + zero / kKnownZeros) / 2;
  };
  r.threshold = syncThreshold();
  for (size_t count : {kKnownCount, size_t(48), size_t(96), kMaxPacketBits}) {
    for (int pass = 0; pass < tuning_.phaseFits; ++pass) fitPhase(responses, count, r.threshold, line);
    r.threshold = syncThreshold();
  }
  r.values.resize(kMaxPacketBits);
  for (size_t b = 0; b < kMaxPacketBits; ++b) r.values[b] = (responses[b] * line.turn(b)).real();
  uint8_t bits[kMaxPacketBits];
  for (size_t b = 0; b < kMaxPacketBits; ++b) bits[b] = r.values[b] >= r.threshold;
  r.packet = decodePacket(bits);
  if (tuning_.secondThresholdPass && r.packet.check != PacketCheck::Intact && r.packet.bitCount > kPacketHeadBits) {
    // The pattern's 19 bits give a rough midpoint; the levels of all the
    // packet's bits as first read give a steadier one.
    float ones = 0, zeros = 0;
    size_t oneCount = 0;
    for (size_t b = 0; b < r.packet.bitCount; ++b) {
      (bits[b] ? ones : zeros) += r.values[b];
      oneCount += bits[b];
    }
    if (oneCount > 0 && oneCount < r.packet.bitCount) {
      const float midpoint = (ones / float(oneCount) + zeros / float(r.packet.bitCount - oneCount)) / 2;
      for (size_t b = 0; b < kMaxPacketBits; ++b) bits[b] = r.values[b] >= midpoint;
      const DecodedPacket second = decodePacket(bits);
      if (second.check == PacketCheck::Intact) {
        r.packet = second;
        r.threshold = midpoint;
      }
    }
  }
  return r;
}

// The margin of an intact packet: the smallest distance from its threshold,
// over every gate that let the finder look here and every bit decision,
// against the noise around the packet (the largest amount by which a bit's
// value strays from its kind's mean towards the threshold). The noise may
// grow by about that many dB before a decision or gate goes the other way.
int TransmissionFinder::marginOf(const Reading& r, const Candidate& at) const {
  float ones = 0, zeros = 0;
  size_t oneCount = 0;
  const size_t count = r.packet.bitCount;
  for (size_t b = 0; b < count; ++b) {
    const bool isOne = r.values[b] >= r.threshold;
    (isOne ? ones : zeros) += r.values[b];
    oneCount += isOne;
  }
  if (oneCount == 0 || oneCount == count) return 0;
  const float one = ones / float(oneCount), zero = zeros / float(count - oneCount);
  float noise = 0;
  for (size_t b = 0; b < count; ++b)
    noise = std::max(noise, r.values[b] >= r.threshold ? one - r.values[b] : r.values[b] - zero);
  const float first = level(at.start);
  const float distances[] = {
      std::min(one - r.threshold, r.threshold - zero),
      first - tuning_.floor,
      at.score.one - tuning_.contrast * at.score.zero,
      first - tuning_.gapFactor * level(at.start + slot(1, at.period)),
      (at.score.one - at.score.zero) / 2,
  };
  const float distance = *std::min_element(std::begin(distances), std::end(distances));
  if (distance <= 0) return 0;
  const double ratio = double(distance) / std::max(double(noise), 1e-9);
  return int(std::clamp(std::lround(20 * std::log10(ratio)), 0L, 40L));
}

// Decodes the packet at the best start and period near `start`, in the format
// whose pulse fits the period at a speed searched (both where both do);
// returns the grid index from which to look on.
size_t TransmissionFinder::decodeAt(size_t start) {
  const Candidate at = bestNear(candidateAt(start));
  std::optional<Reading> best;
  uint32_t bestRate = documentRate_;
  const auto consider = [&](Reading r, uint32_t rate) {
    const bool intact = r.packet.check == PacketCheck::Intact;
    const bool bestIntact = best && best->packet.check == PacketCheck::Intact;
    if (!best || (intact && !bestIntact) || (intact == bestIntact && r.syncEnergy > best->syncEnergy)) {
      best = std::move(r);
      bestRate = rate;
    }
  };
  for (uint32_t rate : {documentRate_, otherPulseRate(documentRate_)}) {
    const double bit = bitSamplesInMix(rate, mixRate_);
    const double speed = bit / at.period;
    if (speed < tuning_.slowest - 0.01 || speed > tuning_.fastest + 0.01) continue;
    consider(read(decodeFilter(rate, speed), double(at.start * kStep), at.period, Period::Search), rate);
    // Under loud interference the pattern alone may give the period a
    // little off; the clock of the packets read so far is steadier.
    if (best->packet.check != PacketCheck::Intact && std::abs(clock_ / speed - 1) < tuning_.clockReach)
      consider(read(decodeFilter(rate, clock_), double(at.start * kStep), bit / clock_, Period::Keep), rate);
  }
  if (!best) return start + 1;
  FoundTransmission found;
  found.start = best->start;
  found.bitSamples = best->period;
  found.pulseRate = bestRate;
  found.packet = best->packet;
  if (found.packet.check == PacketCheck::Intact) {
    found.marginDb = marginOf(*best, at);
    followClock(bitSamplesInMix(bestRate, mixRate_) / best->period);
  }
  // An intact packet is passed over whole; after anything else the search
  // goes on from the next bit, in case the start was a false one that hid a
  // real packet.
  const size_t span = found.packet.check == PacketCheck::Intact ? found.packet.bitCount : 1;
  found_.push_back(std::move(found));
  return at.start + slot(span, at.period);
}

// Takes an intact packet's speed into the track's clock: the median of the
// last few packets' speeds once there are enough (before that, the cues' own
// clock stands for it).
void TransmissionFinder::followClock(std::optional<double> speed) {
  if (speed) recentSpeeds_.push_back(*speed);
  if (recentSpeeds_.size() > kRecentPackets) recentSpeeds_.erase(recentSpeeds_.begin());
  if (recentSpeeds_.size() >= 3) {
    std::vector<double> speeds = recentSpeeds_;
    std::nth_element(speeds.begin(), speeds.begin() + std::ptrdiff_t(speeds.size() / 2), speeds.end());
    clock_ = std::clamp(speeds[speeds.size() / 2], tuning_.slowest, tuning_.fastest);
  }
  clockPeriods_[0] = bitSamplesInMix(documentRate_, mixRate_) / clock_;
  clockPeriods_[1] = bitSamplesInMix(otherPulseRate(documentRate_), mixRate_) / clock_;
  for (size_t i = 0; i < std::size(clockPeriods_); ++i) clockOffsets_[i] = slotOffsets(clockPeriods_[i]);
}

void TransmissionFinder::scan(size_t end) {
  size_t start = next_;
  // Neighbouring starts mostly lead to the same first peak: its period
  // guesses are measured once.
  PeriodGuesses guesses;
  guesses.first = SIZE_MAX;
  while (start < end) {
    if (plausible(start)) {
      const size_t first = firstPeak(start);
      if (first != guesses.first) guesses = guessPeriods(first);
      if (passes(candidateAt(start, guesses).score)) {
        start = decodeAt(start);
        guesses.first = SIZE_MAX;
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
  const size_t keepFrom = next_ * kStep > 4 * kStep ? next_ * kStep - 4 * kStep : 0;
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
  const size_t available = base_ + levels_.size();
  if (available > reach_) scan(available - reach_);
  drop();
}

void TransmissionFinder::finish() {
  filter_.finish(levels_);
  scan(base_ + levels_.size());
}

}  // namespace vtq
