#include "convert/samples/riff_chunks.h"

#include <cstring>

namespace convert {

std::optional<ChunkLocation> findChunk(std::span<const uint8_t> file, std::string_view id, common::Endian endian,
                                       SampleReaderProfile::ChunkSkip skip) {
  // 64-bit positions: a size of up to 0xFFFFFFFF cannot wrap around, and
  // every step moves on by at least the 8-byte header, so the search ends.
  uint64_t pos = kFormHeaderSize;
  while (pos + 8 <= file.size()) {
    const uint8_t* header = file.data() + pos;
    const uint32_t size = common::loadU32(header + 4, endian);
    if (std::memcmp(header, id.data(), 4) == 0) return ChunkLocation{size_t(pos + 8), size};
    uint64_t step = size;
    if (skip == SampleReaderProfile::ChunkSkip::kRoundedToEven) step += size & 1u;
    pos += 8 + step;
  }
  return std::nullopt;
}

bool hasFormHeader(std::span<const uint8_t> file, std::string_view group, std::string_view type) {
  return file.size() >= kFormHeaderSize && std::memcmp(file.data(), group.data(), 4) == 0 &&
         std::memcmp(file.data() + 8, type.data(), 4) == 0;
}

}  // namespace convert
