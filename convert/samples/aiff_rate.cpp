#include "convert/samples/aiff_rate.h"

#include "common/byte_order.h"

namespace convert {
namespace {

constexpr int kExponentBias = 16383;

// The number truncated toward zero, kept to its low 16 bits. Integer
// arithmetic on the mantissa gives the same low bits as a conversion through
// a floating-point number would for every rate that fits, and a defined
// answer for the rest (infinities, huge or negative values).
uint32_t low16BitsOfValue(int exponent, uint64_t mantissa, bool negative) {
  const int shift = exponent - kExponentBias - 63;  // value = mantissa * 2^shift
  uint64_t whole = 0;
  if (shift <= -64) {
    whole = 0;
  } else if (shift < 0) {
    whole = mantissa >> -shift;
  } else if (shift < 16) {
    whole = mantissa << shift;
  }  // else: a multiple of 2^16, whose low 16 bits are 0
  if (negative) whole = ~whole + 1;
  return uint32_t(whole & 0xFFFF);
}

// Release 1.15: the mantissa's upper 32 bits shifted right by
// (16414 - exponent). Shifts of 32 or more give 0; an exponent above 16414
// shifts left, keeping 32 bits.
uint32_t mantissaShift(int exponent, uint64_t mantissa) {
  const uint32_t upper = uint32_t(mantissa >> 32);
  const int shift = 16414 - exponent;
  if (shift >= 32 || shift <= -32) return 0;
  return shift >= 0 ? upper >> shift : upper << -shift;
}

}  // namespace

uint32_t aiffSampleRate(const uint8_t* extended, SampleReaderProfile::AiffRate rule) {
  const uint16_t signAndExponent = common::loadU16(extended, common::Endian::Big);
  const int exponent = signAndExponent & 0x7FFF;
  const uint64_t mantissa = (uint64_t(common::loadU32(extended + 2, common::Endian::Big)) << 32) |
                            common::loadU32(extended + 6, common::Endian::Big);
  if (rule == SampleReaderProfile::AiffRate::kMantissaShift) return mantissaShift(exponent, mantissa);
  return low16BitsOfValue(exponent, mantissa, (signAndExponent & 0x8000) != 0);
}

}  // namespace convert
