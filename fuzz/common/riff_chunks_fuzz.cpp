// Walks arbitrary bytes as RIFF and IFF chunk lists, in memory and as a
// stream, and reads every format record. The walks stay inside the bytes,
// the stream walk meets the same chunks as the walk in memory, and a format
// record written back reads as the same record.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "common/riff.h"

namespace riff = common::riff;

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

bool sameFormat(const riff::WaveFormat& a, const riff::WaveFormat& b) {
  return a.tag == b.tag && a.channels == b.channels && a.sampleRate == b.sampleRate && a.byteRate == b.byteRate &&
         a.blockAlign == b.blockAlign && a.bitsPerSample == b.bitsPerSample && a.extended == b.extended &&
         a.validBits == b.validBits && a.channelMask == b.channelMask && a.subFormat == b.subFormat;
}

void checkFormat(std::span<const uint8_t> body, uint64_t offset) {
  const auto format = riff::parseWaveFormat(body, offset);
  check(format.ok() == (body.size() >= riff::kFormatSize));
  if (!format) return;
  common::ByteWriter out;
  riff::writeFormatChunk(out, *format);
  const auto again = riff::parseWaveFormat(std::span(out.data()).subspan(riff::kChunkHeaderSize), 0);
  check(again.ok() && sameFormat(*format, *again));
}

// The walk in memory under `rules`; returns the chunks' offsets.
std::vector<uint64_t> walkFile(std::span<const uint8_t> file, riff::ChunkRules rules) {
  std::vector<uint64_t> offsets;
  riff::FileChunks chunks(file, rules);
  uint64_t last = 0;
  while (const auto chunk = chunks.next()) {
    check(chunk->offset >= last && chunk->offset + riff::kChunkHeaderSize <= file.size());
    last = chunk->offset + riff::kChunkHeaderSize;
    const auto body = chunks.body(*chunk);
    check(body.size() <= chunk->size && (body.empty() || body.data() + body.size() <= file.data() + file.size()));
    if (chunk->is("fmt ")) checkFormat(body, chunk->dataOffset());
    offsets.push_back(chunk->offset);
    const auto found = chunks.find(std::string(chunk->id.data(), 4));
    check(found && found->offset <= chunk->offset);
  }
  return offsets;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> file(data, size);
  const std::vector<uint64_t> offsets = walkFile(file, riff::kWaveRules);
  walkFile(file, {common::Endian::Little, riff::Padding::AsStored});
  walkFile(file, riff::kAiffRules);

  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  riff::StreamChunks stream(in);
  if (!stream.readForm()) return 0;
  for (const uint64_t offset : offsets) {
    const auto chunk = stream.next();
    check(chunk && chunk->offset == offset);
    if (chunk->is("fmt ")) {
      const auto body = stream.readBody(*chunk, riff::kExtensibleFormatSize);
      if (!body) break;
      check(body->size() <= riff::kExtensibleFormatSize);
    } else if (!stream.skipBody(*chunk)) {
      break;
    }
  }
  return 0;
}
