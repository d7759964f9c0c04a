// The chunk search shared by the WAV (RIFF) and AIFF (IFF) readers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "common/byte_order.h"
#include "convert/samples/sample_reader.h"

namespace convert {

struct ChunkLocation {
  size_t dataOffset = 0;  // first byte of the chunk's data
  uint32_t size = 0;      // the chunk's size as stored
};

// Both formats start with a 12-byte form header ("RIFF"/"FORM", size, form
// type) and the search always starts right after it.
constexpr size_t kFormHeaderSize = 12;

// Looks for the first chunk with identifier `id` (four characters). Each
// chunk header is an identifier and a 4-byte size in `endian`; a chunk that
// does not match is skipped by its size, rounded up to even unless `skip`
// says otherwise. The search ends without a result when a whole chunk header
// no longer fits in the file.
std::optional<ChunkLocation> findChunk(std::span<const uint8_t> file, std::string_view id, common::Endian endian,
                                       SampleReaderProfile::ChunkSkip skip);

// The data of a chunk: the bytes the chunk announces, or fewer when the file
// ends before them.
std::span<const uint8_t> chunkBytes(std::span<const uint8_t> file, size_t offset, uint64_t announced);

// How the formats store 8-bit samples: WAV unsigned (128 is silence), AIFF
// signed.
enum class EightBitSamples { Unsigned, Signed };

// Stores PCM sample bytes in the record as signed 8-bit or host-order 16-bit
// values, after the record's bits field; other widths and a failed
// allocation are errors with the reader's texts.
SampleReadStatus storePcmSamples(std::span<const uint8_t> bytes, common::Endian order, EightBitSamples eightBit,
                                 SampleRecord& record);

// True when `file` starts with `group` at byte 0 and `type` at byte 8.
bool hasFormHeader(std::span<const uint8_t> file, std::string_view group, std::string_view type);

}  // namespace convert
