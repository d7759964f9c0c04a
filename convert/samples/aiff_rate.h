// The sample rate of an AIFF "COMM" chunk, an 80-bit IEEE 754 extended
// number: sign and 15-bit exponent (bias 16383), then a 64-bit mantissa with
// an explicit integer bit.
#pragma once

#include <cstdint>

#include "convert/samples/sample_reader.h"

namespace convert {

// The rate as the given converter release derives it from the ten bytes.
uint32_t aiffSampleRate(const uint8_t* extended, SampleReaderProfile::AiffRate rule);

}  // namespace convert
