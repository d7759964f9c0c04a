// A small decoder of Nintendo 64 adaptive sample data for the tests,
// written from the block layout: a 256-byte book, then blocks of 40 bytes.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "common/byte_order.h"

namespace convert::testing {

// Decodes `blocks` blocks after the book; output samples are clamped to
// 16 bits.
std::vector<int16_t> decodeN64Adaptive(std::span<const uint8_t> data, size_t blocks, common::Endian endian);

// Signal-to-noise ratio in dB of `decoded` against `reference` over the
// first `count` samples.
double snrDb(std::span<const int16_t> reference, std::span<const int16_t> decoded, size_t count);

// What plain 4-bit PCM would give: the top four bits of each sample.
std::vector<int16_t> topFourBits(std::span<const int16_t> samples);

}  // namespace convert::testing
