#include "wave_length.h"

#include <algorithm>

#include "common/byte_order.h"

namespace vtq {
namespace {

bool hasTag(std::span<const uint8_t> bytes, size_t at, const char* tag) {
  for (size_t i = 0; i < 4; ++i) {
    if (at + i >= bytes.size() || bytes[at + i] != uint8_t(tag[i])) return false;
  }
  return true;
}

}  // namespace

std::optional<int64_t> waveLengthMs(std::span<const uint8_t> bytes) {
  if (!hasTag(bytes, 0, "RIFF") || !hasTag(bytes, 8, "WAVE")) return std::nullopt;
  uint32_t bytesPerSecond = 0;
  size_t at = 12;
  // Chunks: a 4-byte tag, a 32-bit little-endian size, the body padded to an
  // even length.
  while (at + 8 <= bytes.size()) {
    common::ByteReader header(bytes.subspan(at, 8), common::Endian::Little);
    header.skip(4);
    const uint64_t size = header.u32();
    const size_t body = at + 8;
    if (hasTag(bytes, at, "fmt ") && size >= 16 && body + 16 <= bytes.size()) {
      common::ByteReader format(bytes.subspan(body, 16), common::Endian::Little);
      format.skip(8);
      bytesPerSecond = format.u32();
    } else if (hasTag(bytes, at, "data")) {
      if (bytesPerSecond == 0) return std::nullopt;
      const uint64_t present = std::min<uint64_t>(size, bytes.size() - body);
      return int64_t((present * 1000 + bytesPerSecond - 1) / bytesPerSecond);
    }
    at = size_t(std::min<uint64_t>(body + size + (size & 1), bytes.size()));
  }
  return std::nullopt;
}

}  // namespace vtq
