// Feeds arbitrary bytes to the sample reader (both converter releases) and
// converts what it accepts for the Nintendo 64 and the handhelds, checking
// that the results hold together.
#include <cstdint>
#include <cstdlib>
#include <sstream>

#include "common/output.h"
#include "convert/samples/handheld_sample_converter.h"
#include "convert/samples/n64_sample_converter.h"
#include "convert/samples/sample_reader.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

void checkRecord(int code, const convert::SampleReader& reader, const convert::SampleRecord& r) {
  if (code != convert::kSampleReadOk) {
    check(!reader.lastError().empty());
    check(r.samples16.empty() && r.samples8.empty());
    return;
  }
  check(reader.lastError().empty());
  check(r.bits == 8 || r.bits == 16);
  if (r.bits == 8) check(r.samples16.empty() && r.samples8.size() == r.dataLength);
  if (r.bits == 16) check(r.samples8.empty() && r.samples16.size() == r.dataLength / 2);
}

void convertForN64(const convert::SampleRecord& r, uint8_t selector) {
  if (r.bits != 16 || r.channels != 1 || r.samples16.size() > 20000) return;
  std::ostringstream text;
  common::Output out(text);
  convert::N64SampleOptions options;
  options.verbose = true;
  options.endian = selector & 1 ? common::Endian::Big : common::Endian::Little;
  convert::N64ConvertedSample result;
  const int type = (selector >> 1) % 4;
  if (!convert::convertRecordForN64(r, "fuzz", type, options, result, out)) {
    check(!text.str().empty());
    return;
  }
  const uint32_t length = result.header.length();
  check(length <= r.samples16.size());
  check(result.header.loopStart + result.header.loopLength <= length);
  const size_t expected = type == 1 ? (size_t(length) + 8) * 2 : 256 + size_t(convert::n64BlockCount(length)) * 40;
  check(result.data.size() == expected);
}

// The handheld conversions of the same samples: sizes follow the code count.
void convertForHandhelds(const convert::SampleRecord& r, uint8_t selector) {
  if (r.bits != 16 || r.channels != 1 || r.samples16.size() > 20000) return;
  convert::HandheldSample sample;
  const uint32_t length = uint32_t(r.samples16.size());
  sample.header.lengthType = convert::SampleHeader::makeLengthType(length, (selector >> 3) & 1);
  sample.samples = r.samples16;
  const size_t packed = (size_t(length) + 31) / 32 * 16;
  const size_t advance = convert::convertSampleForAdvance(sample);
  check(advance == 16 + (sample.header.type() == 0 ? length : packed));
  const size_t gameBoy = convert::convertSampleForGameBoy(sample);
  check(gameBoy == 16 + sample.data.size() && sample.data.size() % 16 == 0 && sample.data.size() <= packed);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  for (auto profile : {convert::SampleReaderProfile::current(), convert::SampleReaderProfile::release115()}) {
    convert::SampleReader reader(profile);
    convert::SampleRecord record;
    const int code = reader.readSampleBytes(bytes, "fuzz", record);
    checkRecord(code, reader, record);
    if (code == convert::kSampleReadOk) {
      convertForN64(record, size > 0 ? data[size - 1] : 0);
      convertForHandhelds(record, size > 0 ? data[size - 1] : 0);
    }
  }
  return 0;
}
