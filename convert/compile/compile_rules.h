// Value rules that rows of both compilers share.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "convert/compile/macro_step.h"
#include "convert/compile/time_pitch.h"

namespace voconv {

// s(n) when it is 0..3 or 255, else `other` (a channel number).
inline uint8_t channelOr(uint8_t value, uint8_t other) { return value >= 4 && value <= 254 ? other : value; }

// Hardware envelope step from milliseconds: rounded, 1..7.
inline uint8_t hardEnvelopeStep(uint16_t ms) {
  const uint8_t n = uint8_t(int(std::floor(double(ms) * 0.0042666667 + 0.5)) & 0xFF);
  return n > 7 ? 7 : (n == 0 ? 1 : n);
}

// A sweep of an 8-bit range in 8.8 steps per tick; 0 when t is 0.
inline uint16_t rangeStep(uint8_t low, uint8_t high, uint16_t t) {
  return t == 0 ? 0 : uint16_t(uint16_t((high - low) << 8) / t);
}

// The key and cents at s(key), s(cents) (cents signed).
inline uint16_t stepPitch(const MacroStep& s, int key, int cents) { return pitch(s.s(key), s.signedByte(cents)); }

// A signed pitch spread over t ticks (t >= 1).
inline uint16_t pitchPerTick(uint16_t p, uint16_t t) { return uint16_t(int16_t(p) / int(t)); }

inline uint16_t ticks1AtMost255(uint16_t ms) { return std::min<uint16_t>(ticks1(ms), 255); }

}  // namespace voconv
