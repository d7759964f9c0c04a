// Conversion of MIDI ticks to the song time units of a target.
#pragma once

#include <cstdint>

namespace midisong {

class SongClock {
 public:
  // A division of 0 ticks per beat (rejected by the reader) maps every time to 0.
  SongClock(uint32_t unitsPerBeat, uint32_t ticksPerBeat)
      : factor_(ticksPerBeat ? double(float(unitsPerBeat) / float(ticksPerBeat)) : 0.0),
        exactFactor_(ticksPerBeat ? double(unitsPerBeat) / double(ticksPerBeat) : 0.0) {}

  // trunc(ticks × factor) with the factor rounded to single precision, as the
  // drivers' tools have always computed it. Kept to 32 bits, as stored.
  uint32_t units(uint64_t ticks) const { return uint32_t(wideUnits(ticks)); }
  uint64_t wideUnits(uint64_t ticks) const { return uint64_t(double(ticks) * factor_); }
  // trunc(ticks × factor) with the exact quotient (loop ends, program and
  // controller-104 times on the handheld targets).
  uint32_t exactUnits(uint64_t ticks) const { return uint32_t(uint64_t(double(ticks) * exactFactor_)); }

 private:
  double factor_;
  double exactFactor_;
};

}  // namespace midisong
