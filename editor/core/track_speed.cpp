#include "track_speed.h"

#include <algorithm>
#include <cmath>

#include "cue_check_report.h"
#include "cue_transmission.h"
#include "pulse_filter.h"

namespace vtq {
namespace {

// How far the bit clocks may stray from a fitted speed before the fit is
// taken for an offset.
constexpr double kClockAgreement = 0.005;
constexpr double kFormatTolerance = 0.02;
constexpr size_t kFewestForFit = 3;

double median(std::vector<double> values) {
  const auto middle = values.begin() + std::ptrdiff_t(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

}  // namespace

TrackGeometry::TrackGeometry(const MixTiming& timing, double speed)
    : documentRate_(timing.documentRate), mixRate_(timing.mixRate), speed_(speed) {}

double TrackGeometry::bit(uint32_t format) const { return bitSamplesInMix(format, mixRate_) / speed_; }

// The renderer writes the lead-in and the gap as whole samples at the
// format's rate; they are truncated to whole samples here too.
double TrackGeometry::lead(uint32_t format) const {
  const uint32_t leadSamples = format * kLeadMilliseconds / 1000;
  return double(leadSamples) * mixRate_ / format / speed_;
}

double TrackGeometry::spacing(uint32_t format, size_t wordCount) const {
  const uint32_t gapSamples = format * kRepeatGapMilliseconds / 1000;
  const double gap = double(gapSamples) * mixRate_ / format / speed_;
  return double(4 * packetNibbleCount(wordCount)) * bit(format) + gap;
}

uint32_t TrackGeometry::formatOf(const FoundTransmission& t) const {
  const uint32_t other = otherPulseRate(documentRate_);
  const double own = std::abs(t.bitSamples - bit(documentRate_));
  if (own <= kFormatTolerance * bit(documentRate_)) return documentRate_;
  return own <= std::abs(t.bitSamples - bit(other)) ? documentRate_ : other;
}

double TrackGeometry::firstCopyStart(const FoundTransmission& t, uint32_t format, double expected, int repeats) const {
  const double first = t.start - lead(format);
  const double step = spacing(format, t.packet.words.size());
  const double copies = std::clamp(std::round((first - expected) / step), 0.0, double(repeats));
  return first - copies * step;
}

double fitTrackSpeed(const std::vector<SpeedSample>& commands, const std::vector<FoundTransmission>& found,
                     const MixTiming& timing) {
  std::vector<double> ratios, clocks;
  for (const FoundTransmission& t : found) {
    if (t.packet.check != PacketCheck::Intact || t.bitSamples <= 0) continue;
    // The transmission's own clock, in the format that read it, counts back its copies.
    const double ownSpeed = bitSamplesInMix(t.pulseRate, timing.mixRate) / t.bitSamples;
    const TrackGeometry own(timing, ownSpeed);
    size_t matches = 0;
    double ratio = 0;
    for (const SpeedSample& c : commands) {
      if (c.words != t.packet.words || c.seconds <= 0) continue;
      const double start = own.firstCopyStart(t, t.pulseRate, own.sampleOf(c.seconds), c.repeats);
      const double seconds = start / timing.mixRate;
      if (std::abs(seconds - c.seconds) > 2 + 0.05 * c.seconds || seconds <= 0) continue;
      ++matches;
      ratio = c.seconds / seconds;
    }
    if (matches != 1) continue;
    ratios.push_back(ratio);
    clocks.push_back(t.bitSamples);
  }
  if (ratios.size() < kFewestForFit) return 1.0;
  const double speed = median(ratios);
  std::vector<double> strays;
  for (double period : clocks) {
    double stray = 1e9;
    for (uint32_t format : {44100u, 48000u})
      stray = std::min(stray, std::abs(bitSamplesInMix(format, timing.mixRate) / period - speed) / speed);
    strays.push_back(stray);
  }
  return median(strays) <= kClockAgreement ? speed : 1.0;
}

}  // namespace vtq
