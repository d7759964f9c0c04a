// Reads the samples of a PCM wave file (a film's mixed sound track) as a
// stream: 16 or 24 bits in any number of channels, in the plain format
// (tag 1) or WAVE_FORMAT_EXTENSIBLE (tag 0xFFFE with the PCM sub-format).
// Float samples and RF64 files are refused with a message that says so.
//
// The reader works on an istream, so the mix may come through a pipe; a data
// chunk size of 0xFFFFFFFF (left by writers that could not seek back) means
// "up to the end of the stream".
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/riff.h"

namespace vtq {

struct PcmWaveFormat {
  uint32_t sampleRate = 0;
  uint16_t channels = 0;
  uint16_t bitsPerSample = 0;  // 16 or 24 (the container size)
  uint16_t blockAlign = 0;
  uint64_t dataBytes = 0;  // the data chunk's stated size
  bool dataToEnd = false;  // the size is unknown: read to the end
};

class PcmWaveReader {
 public:
  // `name` is the file as messages show it.
  PcmWaveReader(std::istream& in, std::string name) : chunks_(in, common::riff::kWaveRules), name_(std::move(name)) {}

  // Reads the chunks up to the first sample. On failure returns false and
  // error() names the file, the byte offset and the reason.
  bool readHeader();
  const PcmWaveFormat& format() const { return format_; }

  // Reads up to `out.size()` frames as one channel of float samples on the
  // 16-bit scale: channel `channel` (counted from 0) or, without one, the sum
  // of all channels. Returns the frames read; 0 at the end of the data.
  size_t readMono(std::span<float> out, std::optional<uint16_t> channel);

  // The data ended (with the stream) before the size its chunk states.
  bool truncated() const { return truncated_; }
  uint64_t framesRead() const { return framesRead_; }
  const std::string& error() const { return error_; }

 private:
  bool fail(const std::string& reason);
  bool readFormatChunk(const common::riff::ChunkHeader& chunk);

  common::riff::StreamChunks chunks_;
  std::string name_;
  PcmWaveFormat format_;
  uint64_t dataLeft_ = 0;
  uint64_t framesRead_ = 0;
  bool truncated_ = false;
  std::vector<uint8_t> raw_;
  std::string error_;
};

}  // namespace vtq
