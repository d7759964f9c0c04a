// The sample data of WAV and AIFF files, stored in a sample record.
#pragma once

#include <cstdint>
#include <span>

#include "common/byte_order.h"
#include "convert/samples/sample_reader.h"

namespace convert {

// How the formats store 8-bit samples: WAV unsigned (128 is silence), AIFF
// signed.
enum class EightBitSamples { Unsigned, Signed };

// Stores PCM sample bytes in the record as signed 8-bit or host-order 16-bit
// values, after the record's bits field; other widths and a failed
// allocation are errors with the reader's texts.
SampleReadStatus storePcmSamples(std::span<const uint8_t> bytes, common::Endian order, EightBitSamples eightBit,
                                 SampleRecord& record);

}  // namespace convert
