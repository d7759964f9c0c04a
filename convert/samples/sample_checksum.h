// The CRC-32 of converted sample data (reflected polynomial 0xEDB88320,
// initial value all ones, final complement), computed by zlib.
#pragma once

#include <cstdint>
#include <span>

namespace convert {

uint32_t sampleChecksum(std::span<const uint8_t> data);

}  // namespace convert
