// The constants that decide where the transmission finder looks for a packet
// and how it reads one, in one place: each was set by measuring mixes of cue
// tracks under speech, music and noise, and moving one changes what the check
// reports.
#pragma once

namespace vtq {

struct FinderTuning {
  // A start is looked at where the sync pattern's 1 slots average this many
  // times its 0 slots (3 missed a cue under loud noise bursts).
  float contrast = 2.5f;
  // Below this filter magnitude lies digital silence or dither (a pulse at
  // full scale gives about 100,000): no start is looked for there.
  float floor = 30.0f;
  // The first pulse must stand this many times above the slot after it, and a
  // later pulse of the pattern above that slot too.
  float gapFactor = 1.5f;
  // Slots of the 19-slot pattern (1010 1010 1010 0010 101) that may read wrong.
  int wrongSyncSlots = 1;
  // A packet that fails read at the midpoint of the pattern's two levels is
  // read again at the midpoint of all its bits' levels.
  bool secondThresholdPass = true;
  // The speeds, relative to a format's own bit clock, at which a track may be
  // played: PAL 25/24 and 24/25 (4.2%) and a little more.
  double slowest = 0.955;
  double fastest = 1.045;
  // A packet whose pattern gives a bit period within this share of the
  // track's clock (the median speed of the last packets read) is also tried
  // at that clock: under loud noise the peaks of the pattern's pulses give
  // the period 1% or more off (1.3% measured), while the track keeps one speed.
  double clockReach = 0.03;
  // The pattern is tried at the track's clock where the period its pulses
  // give leaves at most this many slots wrong (noise alone rarely does: about
  // 1 in 100 starts looked at).
  int clockRetryErrors = 3;
  // The carrier phase that the bits are read against is a line through the
  // phases of the packet's 1 bits, fitted this many times over each stretch
  // of the packet (the sync pattern, 48 bits, 96 bits, all).
  int phaseFits = 2;
};

inline constexpr FinderTuning kFinderTuning{};

}  // namespace vtq
