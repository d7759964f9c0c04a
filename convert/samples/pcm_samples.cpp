#include "convert/samples/pcm_samples.h"

#include <new>

#include "common/output.h"

namespace convert {

SampleReadStatus storePcmSamples(std::span<const uint8_t> bytes, common::Endian order, EightBitSamples eightBit,
                                 SampleRecord& record) {
  try {
    if (record.bits == 8) {
      const int bias = eightBit == EightBitSamples::Unsigned ? 128 : 0;
      record.samples8.resize(bytes.size());
      for (size_t i = 0; i < bytes.size(); ++i) record.samples8[i] = int8_t(int(bytes[i]) - bias);
    } else if (record.bits == 16) {
      record.samples16.resize(bytes.size() / 2);
      for (size_t i = 0; i < record.samples16.size(); ++i) {
        record.samples16[i] = int16_t(common::loadU16(bytes.data() + 2 * i, order));
      }
    } else {
      return SampleReadStatus::fail(kSampleFormatError,
                                    common::format("Unsupported bits per sample (%d)!", record.bits));
    }
  } catch (const std::bad_alloc&) {
    return SampleReadStatus::fail(kSampleOutOfMemory, "Out of memory!");
  }
  return SampleReadStatus::ok();
}

}  // namespace convert
