// The KALP sample container: a 44-byte little-endian header followed by the
// sample data up to the end of the file. The converter's sample reader and
// kalptrim share this layout.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace convert {

struct KalpLayout {
  static constexpr std::array<uint8_t, 4> kMagic{'K', 'A', 'L', 'P'};
  static constexpr size_t kHeaderSize = 44;

  // Field offsets in the header.
  static constexpr size_t kMagicOffset = 0;
  static constexpr size_t kZeroOffset = 4;  // two bytes that must be 0
  static constexpr size_t kVersionOffset = 6;
  static constexpr size_t kCodingOffset = 8;
  static constexpr size_t kBitsOffset = 10;
  static constexpr size_t kRootKeyOffset = 12;
  static constexpr size_t kChannelsOffset = 14;
  static constexpr size_t kRateOffset = 16;
  static constexpr size_t kUnused20Offset = 20;
  static constexpr size_t kSampleCountOffset = 24;
  // Bytes 28 to 43 hold three u32 and two u16 fields that are read and not used.
  static constexpr size_t kUnusedTailOffset = 28;
  static constexpr size_t kUnused28Offset = 28;
  static constexpr size_t kUnused32Offset = 32;
  static constexpr size_t kUnused36Offset = 36;
  static constexpr size_t kUnused40Offset = 40;
  static constexpr size_t kUnused42Offset = 42;
  static constexpr size_t kDataOffset = kHeaderSize;

  static constexpr uint16_t kVersion = 1;
  // The coding field holds 0 or 1; sample records carry it as 1 or 2 (0 for
  // any other value).
  static constexpr uint16_t kBits = 16;
  static constexpr uint16_t kChannels = 1;
};

// True when byte i of a file's start matches the magic. Only the first four
// bytes are compared; the caller reads them one at a time.
constexpr bool isKalpMagicByte(size_t index, int byte) {
  return index < KalpLayout::kMagic.size() && byte == KalpLayout::kMagic[index];
}

}  // namespace convert
