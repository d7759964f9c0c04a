// RIFF and IFF files: the chunk lists of WAVE and AIFF files, the wave format
// record and the header of a PCM wave file.
//
// Both formats start with a 12-byte form header (group "RIFF" or "FORM", the
// size of the rest, the form type "WAVE" or "AIFF"), followed by chunks: a
// four-character identifier, a 32-bit size (little-endian in RIFF, big-endian
// in IFF) and the chunk's data, padded with one byte to an even length.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "common/byte_order.h"
#include "common/read_result.h"

namespace common::riff {

constexpr size_t kFormHeaderSize = 12;
constexpr size_t kChunkHeaderSize = 8;
// A data chunk size left by writers that could not seek back: the data go on
// to the end of the stream.
constexpr uint32_t kSizeToEnd = 0xFFFFFFFF;

// How a reader steps over a chunk of odd size.
enum class Padding {
  Even,      // the size rounded up to even, as the formats define it
  AsStored,  // the size as stored (older readers that ignored the pad byte)
};

struct ChunkRules {
  Endian endian = Endian::Little;
  Padding padding = Padding::Even;
};
constexpr ChunkRules kWaveRules{Endian::Little, Padding::Even};
constexpr ChunkRules kAiffRules{Endian::Big, Padding::Even};

using FourCC = std::array<char, 4>;

struct FormHeader {
  FourCC group{};  // "RIFF", "RF64", "FORM"...
  uint32_t size = 0;
  FourCC type{};  // "WAVE", "AIFF"...
  bool is(std::string_view group, std::string_view type) const;
};

struct ChunkHeader {
  FourCC id{};
  uint32_t size = 0;    // the size as stored
  uint64_t offset = 0;  // where the chunk's header starts in the file

  bool is(std::string_view id) const;
  uint64_t dataOffset() const { return offset + kChunkHeaderSize; }
  bool sizeToEnd() const { return size == kSizeToEnd; }
  // The bytes from the chunk's data to the next chunk's header.
  uint64_t step(Padding padding) const { return uint64_t(size) + (padding == Padding::Even ? (size & 1u) : 0); }
};

// The form header at the start of `file`, when the file holds one.
std::optional<FormHeader> readFormHeader(std::span<const uint8_t> file, Endian endian);
// True when `file` starts with `group` at byte 0 and `type` at byte 8.
bool hasFormHeader(std::span<const uint8_t> file, std::string_view group, std::string_view type);

// The chunks of a whole file in memory. The walk starts right after the form
// header and ends when a whole chunk header no longer fits in the file; the
// sizes are taken as they are stored (a chunk may claim more bytes than the
// file holds, and every step moves on by at least the 8-byte header, so the
// walk always ends).
class FileChunks {
 public:
  FileChunks(std::span<const uint8_t> file, ChunkRules rules) : file_(file), rules_(rules) {}

  // The next chunk's header in file order.
  std::optional<ChunkHeader> next();
  // The first chunk with identifier `id`, searched from byte 12 whatever
  // next() has read, so that chunks are found in any order ("fmt " after
  // "data" too).
  std::optional<ChunkHeader> find(std::string_view id) const;
  // The chunk's data: the bytes it announces, or fewer when the file ends
  // before them.
  std::span<const uint8_t> body(const ChunkHeader& chunk) const;
  // Everything from the chunk's data to the end of the file, for readers that
  // take their fields without regard to the chunk's size.
  std::span<const uint8_t> rest(const ChunkHeader& chunk) const;

 private:
  std::optional<ChunkHeader> headerAt(uint64_t offset) const;

  std::span<const uint8_t> file_;
  ChunkRules rules_;
  uint64_t next_ = kFormHeaderSize;
};

// The chunks of a stream read front to back (a pipe can be read this way):
// the form header, then one chunk header after another, each chunk's data
// read or skipped before the next header. Offsets are 64-bit, as a stream may
// go on past 4 GiB behind a data chunk of size kSizeToEnd.
class StreamChunks {
 public:
  StreamChunks(std::istream& in, ChunkRules rules = kWaveRules) : in_(in), rules_(rules) {}

  // The bytes read or skipped so far: the offset of the next byte.
  uint64_t offset() const { return offset_; }

  // The 12-byte form header; nullopt when the stream ends before it.
  std::optional<FormHeader> readForm();
  // The next chunk's header; nullopt when the stream ends before a whole
  // header (offset() then says where).
  std::optional<ChunkHeader> next();
  // Reads the chunk's data, keeping its first `keep` bytes (all of them when
  // the chunk is shorter), and skips the rest with the pad byte. An error
  // names the offset at which the stream ended.
  ReadResult<std::vector<uint8_t>> readBody(const ChunkHeader& chunk, size_t keep);
  // Skips the chunk's data and its pad byte.
  ReadResult<uint64_t> skipBody(const ChunkHeader& chunk);

  // Reads up to out.size() bytes; returns how many the stream gave.
  size_t read(std::span<uint8_t> out);
  // Skips `count` bytes; false when the stream ends first.
  bool skip(uint64_t count);

 private:
  std::istream& in_;
  ChunkRules rules_;
  uint64_t offset_ = 0;
};

// Format tags of the wave format record.
constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr size_t kFormatSize = 16;            // the fields every format has
constexpr size_t kExtensibleFormatSize = 40;  // WAVE_FORMAT_EXTENSIBLE with its extension

// The wave format record ("fmt " chunk), little-endian:
//   0 tag u16, 2 channels u16, 4 sample rate u32, 8 byte rate u32,
//   12 block align u16, 14 bits per sample u16,
// and for WAVE_FORMAT_EXTENSIBLE: 16 extension size u16, 18 valid bits u16,
// 20 channel mask u32, 24 sub-format GUID (16 bytes).
struct WaveFormat {
  uint16_t tag = 0;
  uint16_t channels = 0;
  uint32_t sampleRate = 0;
  uint32_t byteRate = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
  // The extension: present when the tag is WAVE_FORMAT_EXTENSIBLE and the
  // record holds its 40 bytes.
  bool extended = false;
  uint16_t validBits = 0;
  uint32_t channelMask = 0;
  std::array<uint8_t, 16> subFormat{};

  // The format tag that a sub-format GUID of the form
  // xxxxxxxx-0000-0010-8000-00AA00389B71 carries in its first two bytes;
  // nullopt without an extension or for another GUID.
  std::optional<uint16_t> subFormatTag() const;
};

// Reads the record from the start of `data` (a "fmt " chunk's data; `offset`
// is where they start in the file). Fewer than 16 bytes is an error at the
// offset where they end.
ReadResult<WaveFormat> parseWaveFormat(std::span<const uint8_t> data, uint64_t offset);

// The format record of plain PCM samples, its byte rate and block align
// computed from the others.
WaveFormat pcmFormat(uint32_t sampleRate, uint16_t bitsPerSample, uint16_t channels);

// The 44-byte header of a PCM wave file (all little-endian):
//   0 "RIFF", 4 the file's length - 8, 8 "WAVE", 12 "fmt ", 16 size 16,
//   20 the 16-byte format record, 36 "data", 40 the data's size.
constexpr size_t kPcmHeaderSize = 44;
constexpr size_t kRiffSizeOffset = 4;
constexpr size_t kDataSizeOffset = 40;

// Appends a chunk header in little-endian order.
void writeChunkHeader(ByteWriter& out, std::string_view id, uint32_t size);
// Appends the "fmt " chunk of `format`: 16 bytes, or 40 with the extension.
void writeFormatChunk(ByteWriter& out, const WaveFormat& format);
// Appends the whole header for `dataBytes` bytes of samples (44 bytes for a
// plain format record).
void writePcmHeader(ByteWriter& out, const WaveFormat& format, uint32_t dataBytes);
// Sets the two sizes of a 44-byte header written at the start of `out` once
// the data's size is known.
void patchPcmSizes(ByteWriter& out, uint32_t dataBytes);

}  // namespace common::riff
