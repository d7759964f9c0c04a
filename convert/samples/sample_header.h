// The four header words of a converted sample: the Nintendo 64 sample
// directory entry and the 16-byte header in front of handheld sample data.
#pragma once

#include <cstdint>

#include "common/byte_order.h"

namespace convert {

constexpr uint32_t kMaxSampleLength = 0xFFFFFF;  // the length field's 24 bits

// Coding types in the top byte of the length word.
constexpr uint8_t kN64CodingRaw = 0;
constexpr uint8_t kN64CodingAdaptive = 3;

struct SampleHeader {
  uint32_t keyRate = 0;     // root key << 24 | rate in Hz (24 bits)
  uint32_t lengthType = 0;  // length in samples (24 bits) | coding type << 24
  uint32_t loopStart = 0;   // sample index
  uint32_t loopLength = 0;  // samples; 0 = no loop

  static constexpr uint32_t makeKeyRate(uint32_t key, uint32_t rate) { return key << 24 | (rate & 0xFFFFFF); }
  static constexpr uint32_t makeLengthType(uint32_t length, uint32_t type) {
    return type << 24 | (length & kMaxSampleLength);
  }

  uint32_t length() const { return lengthType & kMaxSampleLength; }
  uint8_t type() const { return uint8_t(lengthType >> 24); }
  uint8_t key() const { return uint8_t(keyRate >> 24); }
  uint32_t rate() const { return keyRate & 0xFFFFFF; }

  void write(common::ByteWriter& out) const {
    out.u32(keyRate);
    out.u32(lengthType);
    out.u32(loopStart);
    out.u32(loopLength);
  }
};

}  // namespace convert
