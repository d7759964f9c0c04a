#include "convert/targets/handheld/handheld_envelopes.h"

#include <algorithm>
#include <cmath>

#include "convert/compile/time_pitch.h"

namespace voconv {

void writeGameBoyEnvelope(common::ByteWriter& out, const EnvelopeCurve& curve) {
  const int level = std::min(15, int(std::floor(curve.sustain * 0.003662109375 + 0.5)));
  out.u16(uint16_t(std::floor(3840.0 / ticks1(curve.attackMs) + 0.5)));
  out.u16(uint16_t(-(((15 - level) << 8) / ticks1(curve.decayMs))));
  out.u8(uint8_t(level));
  out.u16(uint16_t(-((level << 8) / ticks1(curve.releaseMs))));
}

void writeAdvanceEnvelope(common::ByteWriter& out, const EnvelopeCurve& curve) {
  const int level = (int(std::floor(curve.sustain * 0.062255859375 + 0.5)) & 0xFF) << 8;
  out.u16(uint16_t(std::floor(65280.0 / ticks1(curve.attackMs) + 0.5)));
  out.u16(uint16_t((65280 - level) / ticks1(curve.decayMs)));
  out.u16(uint16_t(level));
  out.u16(uint16_t(level / ticks1(curve.releaseMs)));
}

}  // namespace voconv
