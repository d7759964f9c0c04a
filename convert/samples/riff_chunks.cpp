#include "convert/samples/riff_chunks.h"

#include <cstring>
#include <new>

#include "common/output.h"

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

std::span<const uint8_t> chunkBytes(std::span<const uint8_t> file, size_t offset, uint64_t announced) {
  if (offset >= file.size()) return {};
  const uint64_t available = file.size() - offset;
  return file.subspan(offset, size_t(announced < available ? announced : available));
}

SampleReadStatus storePcmSamples(std::span<const uint8_t> bytes, common::Endian order, EightBitSamples eightBit,
                                 SampleRecord& record) {
  try {
    if (record.bits == 8) {
      const int bias = eightBit == EightBitSamples::Unsigned ? 128 : 0;
      record.samples8.resize(bytes.size());
      for (size_t i = 0; i < bytes.size(); ++i) record.samples8[i] = int8_t(int(bytes[i]) - bias);
    } else if (record.bits == 16) {
      record.samples16.resize(bytes.size() / 2);
      for (size_t i = 0; i < record.samples16.size(); ++i) {
        record.samples16[i] = int16_t(common::loadU16(bytes.data() + 2 * i, order));
      }
    } else {
      return SampleReadStatus::fail(kSampleFormatError,
                                    common::format("Unsupported bits per sample (%d)!", record.bits));
    }
  } catch (const std::bad_alloc&) {
    return SampleReadStatus::fail(kSampleOutOfMemory, "Out of memory!");
  }
  return SampleReadStatus::ok();
}

}  // namespace convert
