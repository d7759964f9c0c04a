#include "wave_length.h"

#include "common/riff.h"

namespace vtq {

namespace riff = common::riff;

common::ReadResult<int64_t> waveLengthMs(std::span<const uint8_t> bytes) {
  if (!riff::hasFormHeader(bytes, "RIFF", "WAVE")) return common::errorAt(0, "not a RIFF/WAVE file");
  uint32_t bytesPerSecond = 0;
  riff::FileChunks chunks(bytes, riff::kWaveRules);
  while (const auto chunk = chunks.next()) {
    if (chunk->is("fmt ")) {
      // A record cut short leaves the byte rate of an earlier one.
      const auto format = riff::parseWaveFormat(chunks.body(*chunk), chunk->dataOffset());
      if (format) bytesPerSecond = format->byteRate;
    } else if (chunk->is("data")) {
      if (bytesPerSecond == 0)
        return common::errorAt(chunk->offset, "no format record with a byte rate before the data");
      const uint64_t present = chunks.body(*chunk).size();
      return int64_t((present * 1000 + bytesPerSecond - 1) / bytesPerSecond);
    }
  }
  return common::errorAt(bytes.size(), "no data chunk");
}

}  // namespace vtq
