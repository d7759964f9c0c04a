#include "convert/compile/time_pitch.h"

#include <cmath>

namespace voconv {

uint16_t ticks(uint16_t ms) {
  if (ms == 0) return 0;
  return uint16_t(std::floor((double(ms) + 16.666666) * 0.06));
}

uint16_t ticks1(uint16_t ms) { return ticks(ms == 0 ? 1 : ms); }

uint16_t pitch(int key, int cents) {
  const int v = key * 100 + cents;
  const int semitones = (v / 100) & 0xFFFF;
  const int fraction = int(std::trunc(double(v % 100) * 2.5757575));
  return uint16_t((semitones << 8) | fraction);
}

}  // namespace voconv
