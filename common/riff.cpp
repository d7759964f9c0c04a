#include "common/riff.h"

#include <algorithm>
#include <cstring>

namespace common::riff {
namespace {

// The GUID tail shared by the sub-formats that carry a format tag.
constexpr uint8_t kGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

FourCC fourCC(const uint8_t* p) { return {char(p[0]), char(p[1]), char(p[2]), char(p[3])}; }

bool sameId(const FourCC& id, std::string_view text) {
  return text.size() == 4 && std::equal(id.begin(), id.end(), text.begin());
}

}  // namespace

bool FormHeader::is(std::string_view groupId, std::string_view typeId) const {
  return sameId(group, groupId) && sameId(type, typeId);
}

bool ChunkHeader::is(std::string_view chunkId) const { return sameId(id, chunkId); }

std::optional<FormHeader> readFormHeader(std::span<const uint8_t> file, Endian endian) {
  if (file.size() < kFormHeaderSize) return std::nullopt;
  return FormHeader{fourCC(file.data()), loadU32(file.data() + 4, endian), fourCC(file.data() + 8)};
}

bool hasFormHeader(std::span<const uint8_t> file, std::string_view group, std::string_view type) {
  const auto form = readFormHeader(file, Endian::Little);
  return form && form->is(group, type);
}

std::optional<ChunkHeader> FileChunks::headerAt(uint64_t offset) const {
  if (offset + kChunkHeaderSize > file_.size()) return std::nullopt;
  const uint8_t* p = file_.data() + offset;
  return ChunkHeader{fourCC(p), loadU32(p + 4, rules_.endian), offset};
}

std::optional<ChunkHeader> FileChunks::next() {
  const auto chunk = headerAt(next_);
  if (chunk) next_ = chunk->dataOffset() + chunk->step(rules_.padding);
  return chunk;
}

std::optional<ChunkHeader> FileChunks::find(std::string_view id) const {
  FileChunks walk(file_, rules_);
  while (const auto chunk = walk.next()) {
    if (chunk->is(id)) return chunk;
  }
  return std::nullopt;
}

std::span<const uint8_t> FileChunks::body(const ChunkHeader& chunk) const {
  const std::span<const uint8_t> rest = this->rest(chunk);
  return rest.first(size_t(std::min<uint64_t>(chunk.size, rest.size())));
}

std::span<const uint8_t> FileChunks::rest(const ChunkHeader& chunk) const {
  if (chunk.dataOffset() >= file_.size()) return {};
  return file_.subspan(size_t(chunk.dataOffset()));
}

size_t StreamChunks::read(std::span<uint8_t> out) {
  in_.read(reinterpret_cast<char*>(out.data()), std::streamsize(out.size()));
  const auto got = size_t(in_.gcount());
  offset_ += got;
  return got;
}

bool StreamChunks::skip(uint64_t count) {
  uint8_t scratch[4096];
  while (count > 0) {
    const auto step = size_t(std::min<uint64_t>(count, sizeof scratch));
    if (read(std::span(scratch, step)) != step) return false;
    count -= step;
  }
  return true;
}

std::optional<FormHeader> StreamChunks::readForm() {
  uint8_t header[kFormHeaderSize];
  if (read(header) != kFormHeaderSize) return std::nullopt;
  return readFormHeader(header, rules_.endian);
}

std::optional<ChunkHeader> StreamChunks::next() {
  const uint64_t at = offset_;
  uint8_t header[kChunkHeaderSize];
  if (read(header) != kChunkHeaderSize) return std::nullopt;
  return ChunkHeader{fourCC(header), loadU32(header + 4, rules_.endian), at};
}

ReadResult<std::vector<uint8_t>> StreamChunks::readBody(const ChunkHeader& chunk, size_t keep) {
  std::vector<uint8_t> body(size_t(std::min<uint64_t>(keep, chunk.size)));
  if (read(body) != body.size() || !skip(chunk.step(rules_.padding) - body.size())) {
    return errorAt(offset_, "the stream ends inside the chunk");
  }
  return body;
}

ReadResult<uint64_t> StreamChunks::skipBody(const ChunkHeader& chunk) {
  if (!skip(chunk.step(rules_.padding))) return errorAt(offset_, "the stream ends inside the chunk");
  return chunk.step(rules_.padding);
}

std::optional<uint16_t> WaveFormat::subFormatTag() const {
  if (!extended || !std::equal(std::begin(kGuidTail), std::end(kGuidTail), subFormat.begin() + 2)) return std::nullopt;
  return loadU16(subFormat.data(), Endian::Little);
}

ReadResult<WaveFormat> parseWaveFormat(std::span<const uint8_t> data, uint64_t offset) {
  ByteReader in(data, Endian::Little);
  WaveFormat f;
  f.tag = in.u16();
  f.channels = in.u16();
  f.sampleRate = in.u32();
  f.byteRate = in.u32();
  f.blockAlign = in.u16();
  f.bitsPerSample = in.u16();
  if (!in.ok()) {
    return errorAt(offset + data.size(),
                   "the format record has " + std::to_string(data.size()) + " bytes, fewer than 16");
  }
  if (f.tag == kFormatExtensible && data.size() >= kExtensibleFormatSize) {
    f.extended = true;
    in.skip(2);  // the extension's size
    f.validBits = in.u16();
    f.channelMask = in.u32();
    const std::span<const uint8_t> guid = in.bytes(f.subFormat.size());
    std::copy(guid.begin(), guid.end(), f.subFormat.begin());
  }
  return f;
}

WaveFormat pcmFormat(uint32_t sampleRate, uint16_t bitsPerSample, uint16_t channels) {
  WaveFormat f;
  f.tag = kFormatPcm;
  f.channels = channels;
  f.sampleRate = sampleRate;
  f.blockAlign = uint16_t(channels * bitsPerSample / 8);
  f.byteRate = sampleRate * f.blockAlign;
  f.bitsPerSample = bitsPerSample;
  return f;
}

void writeChunkHeader(ByteWriter& out, std::string_view id, uint32_t size) {
  const Endian endian = out.endian();
  out.setEndian(Endian::Little);
  out.text(id.substr(0, 4));
  out.u32(size);
  out.setEndian(endian);
}

void writeFormatChunk(ByteWriter& out, const WaveFormat& f) {
  writeChunkHeader(out, "fmt ", uint32_t(f.extended ? kExtensibleFormatSize : kFormatSize));
  const Endian endian = out.endian();
  out.setEndian(Endian::Little);
  out.u16(f.tag);
  out.u16(f.channels);
  out.u32(f.sampleRate);
  out.u32(f.byteRate);
  out.u16(f.blockAlign);
  out.u16(f.bitsPerSample);
  if (f.extended) {
    out.u16(uint16_t(kExtensibleFormatSize - kFormatSize - 2));
    out.u16(f.validBits);
    out.u32(f.channelMask);
    out.bytes(f.subFormat);
  }
  out.setEndian(endian);
}

void writePcmHeader(ByteWriter& out, const WaveFormat& format, uint32_t dataBytes) {
  const size_t formatSize = format.extended ? kExtensibleFormatSize : kFormatSize;
  writeChunkHeader(out, "RIFF", uint32_t(4 + kChunkHeaderSize + formatSize + kChunkHeaderSize + dataBytes));
  out.text("WAVE");
  writeFormatChunk(out, format);
  writeChunkHeader(out, "data", dataBytes);
}

void patchPcmSizes(ByteWriter& out, uint32_t dataBytes) {
  const Endian endian = out.endian();
  out.setEndian(Endian::Little);
  out.patchU32(kRiffSizeOffset, uint32_t(kPcmHeaderSize - 8 + dataBytes));
  out.patchU32(kDataSizeOffset, dataBytes);
  out.setEndian(endian);
}

std::optional<uint64_t> bextTimeReference(std::span<const uint8_t> bext) {
  if (bext.size() < kBextTimeReferenceOffset + 8) return std::nullopt;
  const uint8_t* at = bext.data() + kBextTimeReferenceOffset;
  return uint64_t(loadU32(at, Endian::Little)) | uint64_t(loadU32(at + 4, Endian::Little)) << 32;
}

}  // namespace common::riff
