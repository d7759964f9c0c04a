#include "convert/samples/sample_checksum.h"

#include <zlib.h>

#include <algorithm>

namespace convert {

uint32_t sampleChecksum(std::span<const uint8_t> data) {
  uLong crc = crc32(0L, Z_NULL, 0);
  // zlib takes the length as a uInt; feed large buffers in pieces.
  constexpr size_t kPiece = size_t(1) << 30;
  for (size_t pos = 0; pos < data.size(); pos += kPiece) {
    const size_t n = std::min(kPiece, data.size() - pos);
    crc = crc32(crc, data.data() + pos, uInt(n));
  }
  return uint32_t(crc);
}

}  // namespace convert
