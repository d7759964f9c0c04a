// Finds the transmissions in the pulse filter's output and decodes them.
//
// A transmission starts with pulses in the known pattern of its sync nibbles
// and the top of its length byte (1010 1010 1010 0010 101). A start is taken
// where those 19 bit slots, split by the midpoint of their own two levels,
// give that pattern with at most one slot wrong and the 1 slots stand clearly
// above the 0 slots. The same midpoint then decides every bit of the packet,
// so neither the cue's level nor what lies between cues matters.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "packet_decoder.h"

namespace vtq {

struct FoundTransmission {
  double start = 0;  // the first pulse's first sample, counted from the mix's first sample
  DecodedPacket packet;
};

class TransmissionFinder {
 public:
  // `bitSamples`: the length of a bit in the mix's samples; `gridStep`: the
  // samples between two filter outputs.
  TransmissionFinder(double bitSamples, size_t gridStep);

  // Appends filter output and decodes the transmissions that now lie whole in it.
  void push(std::span<const float> magnitudes);
  // Decodes the rest at the end of the mix.
  void finish();
  const std::vector<FoundTransmission>& found() const { return found_; }

 private:
  struct Score {
    int errors = 99;
    float one = 0, zero = 0;
    bool betterThan(const Score& other) const;
  };

  float at(size_t index) const { return index - base_ < levels_.size() ? levels_[index - base_] : 0.0f; }
  Score score(size_t start) const;
  bool plausible(size_t start) const;
  size_t decodeAt(size_t start);
  void scan(size_t end);

  size_t gridStep_;
  std::vector<size_t> offsets_;  // grid offset of each bit of the longest packet, and one more
  std::vector<float> levels_;
  size_t base_ = 0;  // grid index of levels_[0]
  size_t next_ = 0;  // the next grid index to try as a start
  std::vector<FoundTransmission> found_;
};

}  // namespace vtq
