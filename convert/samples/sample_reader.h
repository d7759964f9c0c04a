// Reads WAV, AIFF and KALP sample files into sample records.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "common/riff.h"
#include "convert/samples/sample_record.h"

namespace convert {

// Result codes of readSample; each failure also sets the reader's last error
// text.
enum SampleReadResult : int {
  kSampleReadOk = 0,
  kSampleFileNotFound = 1,
  kSampleUnknownType = 2,
  kSampleOutOfMemory = 3,
  kSampleFormatError = 4,
  kSampleBadKalpVersion = 7,
  kSampleReadError = 8,
  kSampleNotReadable = 9,  // not a regular file, or larger than kMaxSampleFileSize
};

// Sample files larger than this are refused before they are read.
constexpr uint64_t kMaxSampleFileSize = uint64_t(256) << 20;

// How a converter release reads sample files. Release 1.15 differs from the
// current one in two points that show in the records it produces.
struct SampleReaderProfile {
  enum class AiffRate {
    kLow16Bits,      // the rate as a number, truncated, kept to 16 bits
    kMantissaShift,  // release 1.15: upper mantissa word >> (16414 - exponent)
  };
  // RIFF and IFF pad odd-sized chunks with one byte; release 1.15 steps over
  // a chunk by its size as stored.
  common::riff::Padding chunkSkip = common::riff::Padding::Even;
  AiffRate aiffRate = AiffRate::kLow16Bits;

  static SampleReaderProfile current() { return {}; }
  static SampleReaderProfile release115() { return {common::riff::Padding::AsStored, AiffRate::kMantissaShift}; }
};

// The outcome of one format reader: a result code and, on failure, its text.
struct SampleReadStatus {
  int code = kSampleReadOk;
  std::string text;

  static SampleReadStatus ok() { return {}; }
  static SampleReadStatus fail(int code, std::string text) { return {code, std::move(text)}; }
};

// Reads sample files one after another. The reader keeps the text of its
// last failure; it never prints.
class SampleReader {
 public:
  explicit SampleReader(SampleReaderProfile profile = SampleReaderProfile::current()) : profile_(profile) {}

  // Clears `record` and fills it from the file at `path`. Returns a
  // SampleReadResult; on failure the record is left empty.
  int readSample(const std::filesystem::path& path, SampleRecord& record);
  // The same for a file already in memory; `name` is the file name that the
  // error texts show.
  int readSampleBytes(std::span<const uint8_t> file, const std::string& name, SampleRecord& record);
  // Frees the record's data and clears the last error text.
  void freeSample(SampleRecord& record);

  const std::string& lastError() const { return lastError_; }
  const SampleReaderProfile& profile() const { return profile_; }

 private:
  int finish(const SampleReadStatus& status, SampleRecord& record);

  SampleReaderProfile profile_;
  std::string lastError_;
};

}  // namespace convert
