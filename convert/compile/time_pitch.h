// Time and pitch conversions of the compilers and the handheld writers:
// milliseconds to 60 Hz ticks, and a key with cents to an 8.8 pitch.
#pragma once

#include <cstdint>

namespace voconv {

// 0 for 0 ms, else floor((ms + 16.666666) * 0.06): one tick is added.
uint16_t ticks(uint16_t ms);
// ticks() with 0 ms taken as 1, so never 0.
uint16_t ticks1(uint16_t ms);
// v = key * 100 + cents; (v / 100) << 8 with the cents scaled to 0..255 in the
// low byte. The division truncates toward zero and the fraction is OR-ed in
// as a signed value, so pitch(0, -50) is 0xFF80.
uint16_t pitch(int key, int cents);

}  // namespace voconv
