// The speed at which a mix plays its cue track, and where transmissions lie
// in the mix at that speed.
//
// A film shown at 25 fps that was made at 24 runs 4.2% fast, an NTSC
// transfer 0.1% slow or fast, and two clocks differ by up to 100 ppm; the
// whole track then plays at one speed, with its origin at the mix's first
// sample. The cues' own formats are not speed changes of each other: the two
// rates' bit periods differ by 7% but their carriers by 0.3%, so a cue made at
// the other rate is told apart by its bit period at the track's speed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "transmission_finder.h"

namespace vtq {

struct MixTiming;

// A fitted speed that differs from 1 by no more than this is not worth a word.
constexpr double kReportedSpeedDifference = 0.0001;

class TrackGeometry {
 public:
  TrackGeometry(const MixTiming& timing, double speed);

  // Lengths in mix samples of a cue made in `format` (44100 or 48000).
  double bit(uint32_t format) const;
  double lead(uint32_t format) const;                       // silence before the first copy
  double spacing(uint32_t format, size_t wordCount) const;  // from one copy's start to the next
  double sampleOf(double seconds) const { return seconds * mixRate_ / speed_; }
  double secondsOf(double sample) const { return sample * speed_ / mixRate_; }
  // The format a transmission was made in: the document's where its bit
  // period fits the document's at this speed, else the nearer one.
  uint32_t formatOf(const FoundTransmission& t) const;
  // Where the first copy of the command that sent `t` starts, counting back
  // through the copies before it; the copy number is the one that puts it
  // nearest `expected` (mix samples).
  double firstCopyStart(const FoundTransmission& t, uint32_t format, double expected, int repeats) const;

 private:
  uint32_t documentRate_, mixRate_;
  double speed_;
};

// A command as the speed fit sees it.
struct SpeedSample {
  std::vector<uint8_t> words;
  double seconds;  // its time after the mix's start on the document's clock
  int repeats;
};

// The median of the ratios of command times to found times, over the intact
// transmissions that match one command's packet only, within 2 s plus 5% of
// its time; 1 with fewer than 3 of them, or when the bit clocks of those
// transmissions do not agree with it (a mix placed late moves its cues, not
// their clocks: that stays an offset).
double fitTrackSpeed(const std::vector<SpeedSample>& commands, const std::vector<FoundTransmission>& found,
                     const MixTiming& timing);

}  // namespace vtq
