// A RIFF/WAVE file writer for PCM data.
//
// Layout (little-endian): "RIFF", length of the rest, "WAVE", a 16-byte "fmt "
// chunk (format 1, channels, rate, bytes per second, block align, bits), then
// "data" with its size and the samples: a 44-byte header.
//
// The samples are gathered in memory and the file is written when it is
// closed, through a temporary file renamed over the target, so that a failed
// write never leaves a truncated wave file under the command's name.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "common/byte_order.h"
#include "common/file_io.h"
#include "common/riff.h"
#include "program_name.h"

namespace vtq {

class CWaveFile {
 public:
  // Results of the operations.
  static constexpr int kOk = 0;
  static constexpr int kFileError = 3;
  static constexpr int kWrongState = 4;

  static constexpr size_t kHeaderSize = common::riff::kPcmHeaderSize;

  CWaveFile() = default;
  // Closes (and writes) a file that is still open.
  ~CWaveFile();
  CWaveFile(const CWaveFile&) = delete;
  CWaveFile& operator=(const CWaveFile&) = delete;

  // Accepts 8 or 16 bits and 1 or 2 channels. Creates the file (replacing one
  // of that name when it is closed) and writes the header with zero sizes.
  int openForWrite(const std::filesystem::path& path, uint32_t sampleRate, uint16_t bits, uint16_t channels);
  // The same without a file: close() leaves the whole file's bytes in memory,
  // for callers that mix the samples into something larger.
  int openInMemory(uint32_t sampleRate, uint16_t bits, uint16_t channels);
  // One sample: 1 byte at 8 bits, 2 bytes at 16 bits.
  int writeSample(int16_t sample);
  // A block of 16-bit samples.
  int writeSamples(std::span<const int16_t> samples);
  // Sample bytes already in file order (16-bit little-endian samples).
  int writeSampleBytes(std::span<const uint8_t> bytes);
  int writeSilence(size_t sampleCount);
  // Patches the data size and the RIFF length, writes and closes the file.
  int close();

  bool isWriting() const { return writing_; }
  size_t dataBytes() const { return writing_ ? buffer_.size() - kHeaderSize : 0; }
  // The reason of the last failure, naming the file.
  const std::string& error() const { return error_; }
  // After close() of a file opened in memory: the file's bytes, header included.
  std::vector<uint8_t> takeMemoryBytes() { return std::move(memory_); }

 private:
  int fail(int result, std::string message);
  int begin(uint32_t sampleRate, uint16_t bits, uint16_t channels);

  bool writing_ = false;
  bool inMemory_ = false;
  std::vector<uint8_t> memory_;
  uint16_t bits_ = 16;
  common::SafeFileWriter file_{kProgramName};
  common::ByteWriter buffer_{common::Endian::Little};
  std::string error_;
};

}  // namespace vtq
