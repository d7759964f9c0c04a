// The matched filter that finds the pulses of 1 bits in a mix.
//
// The mix is correlated with the pulse as it sounds at the mix's rate (the
// pulse table of the document's rate, interpolated band-limited when the mix
// was resampled) and with its quadrature copy; the magnitude of the pair
// measures how much pulse energy starts at a sample whatever the carrier's
// phase, and ignores everything far from the pulse's 9 kHz band (speech and
// music mostly). It is computed every kGridStep samples.
#pragma once

#include <complex>
#include <cstdint>
#include <span>
#include <vector>

namespace vtq {

class PulseFilter {
 public:
  static constexpr size_t kGridStep = 4;

  // The pulse of `pulseRate`'s format as it sounds in a mix at `mixRate`
  // that plays `speed` times as fast as the pulse was made.
  PulseFilter(uint32_t pulseRate, uint32_t mixRate, double speed = 1.0);

  // Appends mix samples; adds to `magnitudes` the filter output of every grid
  // position whose window is now complete (position j covers the samples from
  // j * kGridStep on).
  void push(std::span<const float> samples, std::vector<float>& magnitudes);
  // Completes the last windows with silence.
  void finish(std::vector<float>& magnitudes);

  size_t tapCount() const { return real_.size(); }
  // The complex output for the window that starts at `window` (tapCount()
  // samples): its magnitude is what push() reports, its phase turns with the
  // carrier by carrierStep() for each sample the window moves.
  std::complex<float> response(const float* window) const;
  double carrierStep() const { return carrierStep_; }

 private:
  std::vector<float> real_, imag_;  // the pulse and its quadrature, unit energy, padded to 8
  std::vector<float> pending_;      // samples from the next grid position on
  double carrierStep_ = 0;          // radians per mix sample
};

// The length of a bit of `pulseRate`'s format in the mix's samples at speed 1
// (fractional after resampling).
double bitSamplesInMix(uint32_t pulseRate, uint32_t mixRate);

// The other rate's format: 48000 for 44100 and the reverse.
uint32_t otherPulseRate(uint32_t pulseRate);

}  // namespace vtq
