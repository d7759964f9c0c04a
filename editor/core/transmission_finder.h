// Finds the transmissions in a mix and decodes them.
//
// A transmission starts with pulses in the known pattern of its sync nibbles
// and the top of its length byte (1010 1010 1010 0010 101). The pulse filter's
// magnitude, every few samples, shows where that pattern may start: where its
// 19 bit slots, split by the midpoint of their own two levels, give the
// pattern with at most one slot wrong and the 1 slots stand clearly above the
// 0 slots. The track may play faster or slower than the cue was made, and the
// cue may have been made at either rate (the two formats' bit periods differ
// by 7%), so the pattern is looked for over bit periods as well as positions:
// the later pulses of the pattern give the period, the whole pattern confirms
// it. There the start and the period are refined to the sample, and each bit
// is read coherently: the response of a filter matched to the pulse at that
// speed, turned back by the carrier's phase, which the packet's 1 bits keep
// following from bit to bit, so that noise counts only in phase with the
// pulses. The midpoint of the pattern's two levels decides every bit, so
// neither the cue's level nor what lies between cues matters.
#pragma once

#include <array>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "finder_tuning.h"
#include "packet_decoder.h"
#include "pulse_filter.h"

namespace vtq {

struct FoundTransmission {
  double start = 0;        // the first pulse's first sample, counted from the mix's first sample
  double bitSamples = 0;   // the bit period in the mix's samples, as measured on this packet
  uint32_t pulseRate = 0;  // the format whose pulse read it best (44100 or 48000)
  DecodedPacket packet;
  // Intact packets: how far, in dB over the noise around the packet, its
  // weakest gate or bit decision stands from going the other way (0 to 40).
  int marginDb = 0;
};

class TransmissionFinder {
 public:
  TransmissionFinder(uint32_t documentRate, uint32_t mixRate, const FinderTuning& tuning = kFinderTuning);

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
  struct Candidate {
    size_t start = 0;   // grid index
    double period = 0;  // mix samples per bit
    Score score;
  };
  // The grid steps from a start to each slot of the sync pattern.
  using SlotOffsets = std::array<size_t, 19>;
  // The periods that the pattern's later pulses give, from the peak of a
  // first pulse (the same for every start that leads to that peak).
  struct PeriodGuesses {
    size_t first = 0;
    double periods[2] = {};
    SlotOffsets offsets[2] = {};  // of each period's slots
  };
  struct Reading;

  float level(size_t index) const { return index - base_ < levels_.size() ? levels_[index - base_] : 0.0f; }
  size_t slot(size_t bit, double period) const;
  SlotOffsets slotOffsets(double period) const;
  Score score(size_t start, const SlotOffsets& offsets) const;
  Score score(size_t start, double period) const { return score(start, slotOffsets(period)); }
  bool passes(const Score& s) const;
  bool plausible(size_t start) const;
  size_t peakIn(size_t from, size_t to) const;
  size_t firstPeak(size_t start) const { return peakIn(start, start + firstReach_); }
  PeriodGuesses guessPeriods(size_t first) const;
  Candidate candidateAt(size_t start, const PeriodGuesses& guesses) const;
  Candidate candidateAt(size_t start) const { return candidateAt(start, guessPeriods(firstPeak(start))); }
  Candidate bestNear(const Candidate& found) const;
  std::complex<float> responseAt(const PulseFilter& filter, double position) const;
  const PulseFilter& decodeFilter(uint32_t pulseRate, double speed);
  enum class Period { Search, Keep };
  Reading read(const PulseFilter& filter, double start, double period, Period search) const;
  void refine(const PulseFilter& filter, Reading& reading, Period search) const;
  void followClock(std::optional<double> speed);
  int marginOf(const Reading& reading, const Candidate& at) const;
  size_t decodeAt(size_t start);
  void scan(size_t end);
  void drop();

  FinderTuning tuning_;
  uint32_t documentRate_, mixRate_;
  PulseFilter filter_;
  double periodMin_, periodMax_;  // the bit periods looked for, in mix samples
  size_t reach_;                  // grid steps from a start to the end of the longest packet and its search
  size_t firstReach_;             // grid steps from a start to where its first pulse's peak is looked for
  size_t gapSlot_;                // grid steps from a start to the slot after the first pulse
  std::map<std::pair<uint32_t, int>, std::unique_ptr<PulseFilter>> decodeFilters_;
  std::vector<float> levels_;   // filter magnitudes, one per grid step
  size_t base_ = 0;             // grid index of levels_[0]
  std::vector<float> samples_;  // the mix, from sample sampleBase_ on
  size_t sampleBase_ = 0;
  size_t next_ = 0;  // the next grid index to try as a start
  std::vector<FoundTransmission> found_;
  std::vector<double> recentSpeeds_;  // of the last intact packets, each against its own format
  // The track's speed (the median of recentSpeeds_, 1 until three packets
  // are read) and both formats' bit periods at it, in mix samples.
  double clock_ = 1.0;
  double clockPeriods_[2] = {};
  SlotOffsets clockOffsets_[2] = {};
};

}  // namespace vtq
