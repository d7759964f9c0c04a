// Finds the transmissions in a mix and decodes them.
//
// A transmission starts with pulses in the known pattern of its sync nibbles
// and the top of its length byte (1010 1010 1010 0010 101). The pulse filter's
// magnitude, every few samples, shows where that pattern may start: where its
// 19 bit slots, split by the midpoint of their own two levels, give the
// pattern with at most one slot wrong and the 1 slots stand clearly above the
// 0 slots. There the start is refined to the sample, and each bit is read
// coherently: the filter's complex output at the bit's pulse, turned back by
// the carrier's phase at the known 1 bits of the pattern, so that noise
// counts only in phase with the pulses. The midpoint of the pattern's two
// levels decides every bit, so neither the cue's level nor what lies between
// cues matters.
#pragma once

#include <complex>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "packet_decoder.h"
#include "pulse_filter.h"

namespace vtq {

struct FoundTransmission {
  double start = 0;  // the first pulse's first sample, counted from the mix's first sample
  DecodedPacket packet;
};

class TransmissionFinder {
 public:
  TransmissionFinder(uint32_t documentRate, uint32_t mixRate);

  // Appends mix samples and decodes the transmissions that now lie whole in them.
  void push(std::span<const float> samples);
  // Decodes the rest at the end of the mix.
  void finish();
  const std::vector<FoundTransmission>& found() const { return found_; }

 private:
  struct Score {
    int errors = 99;
    float one = 0, zero = 0;
    bool betterThan(const Score& other) const;
  };

  float level(size_t index) const { return index - base_ < levels_.size() ? levels_[index - base_] : 0.0f; }
  Score score(size_t start) const;
  bool plausible(size_t start) const;
  std::complex<float> responseAt(int64_t sample) const;
  double refineStart(size_t gridStart) const;
  std::vector<float> bitValues(double start) const;
  size_t decodeAt(size_t start);
  static DecodedPacket decodeWithThreshold(const std::vector<float>& values, float threshold);
  static float midpoint(const std::vector<float>& values, size_t count, float first);
  void scan(size_t end);
  void drop();

  PulseFilter filter_;
  double bitSamples_;
  std::vector<size_t> offsets_;  // grid offset of each bit of the longest packet, and one more
  std::vector<float> levels_;    // filter magnitudes, one per grid step
  size_t base_ = 0;              // grid index of levels_[0]
  std::vector<float> samples_;   // the mix, from sample sampleBase_ on
  size_t sampleBase_ = 0;
  size_t next_ = 0;  // the next grid index to try as a start
  std::vector<FoundTransmission> found_;
};

}  // namespace vtq
