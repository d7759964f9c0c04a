// Converts one sample for the Nintendo 64: adaptive coding with a codebook
// designed from the sample (types 0 and 2), or raw 16-bit samples (type 1).
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "common/byte_order.h"
#include "common/output.h"
#include "convert/samples/sample_header.h"
#include "convert/samples/sample_reader.h"
#include "convert/samples/sample_record.h"

namespace convert {

// Sample types of the export script.
enum N64SampleType : int {
  kSampleTypeAdaptive = 0,
  kSampleTypeRaw = 1,
  kSampleTypeAdaptiveAlt = 2,  // coded like type 0
};

struct N64SampleOptions {
  bool verbose = false;
  common::Endian endian = common::Endian::Little;
  // The default target runs the Nintendo 64 writer but converts no sample.
  bool targetIsN64 = true;
};

struct N64ConvertedSample {
  SampleHeader header;        // the directory's four words
  std::vector<uint8_t> data;  // book and blocks, or raw samples, in the target byte order
};

// The samples a sample is coded from: the sample, then repeats of its loop
// or of its last sample, in whole blocks. Exposed for tests.
struct N64WorkBuffer {
  uint32_t length = 0;  // samples of the sample after the loop cut
  uint32_t loopStart = 0;
  uint32_t loopLength = 0;
  std::vector<int16_t> samples;
};

// Reads the sample file and converts it. Prints every message of the
// conversion to `out`; returns false when the sample was not converted.
bool convertSampleFileForN64(const std::filesystem::path& file, SampleReader& reader, int type,
                             const N64SampleOptions& options, N64ConvertedSample& result, common::Output& out);

// Converts a sample that was read already; `name` names it in messages.
bool convertRecordForN64(const SampleRecord& record, const std::string& name, int type, const N64SampleOptions& options,
                         N64ConvertedSample& result, common::Output& out);

// The number of 40-byte blocks that code a sample of `length` samples.
constexpr uint32_t n64BlockCount(uint32_t length) { return (length + 8 + 127) / 64; }
// The samples of the work buffer for a sample of `length` samples.
constexpr uint32_t n64WorkBufferSamples(uint32_t length) { return (((length + 72) >> 6) + 1) * 64; }

}  // namespace convert
