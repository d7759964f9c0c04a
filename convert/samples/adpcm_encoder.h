// Codes samples into Nintendo 64 adaptive blocks: 40 bytes for 64 samples,
// as two halves of 32 whose first two samples are kept raw and whose other
// 30 are 4-bit codes of the residual of one book predictor.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "common/byte_order.h"
#include "convert/samples/codebook.h"

namespace convert {

constexpr int kHalfSamples = 32;
constexpr int kBlockSamples = 2 * kHalfSamples;
constexpr int kBlockBytes = 40;
constexpr int kCodesPerHalf = kHalfSamples - 2;
constexpr int kMaxScale = 12;
// The 30 coded samples of a half are predicted in groups of these sizes.
constexpr std::array<int, 4> kGroupSizes{6, 8, 8, 8};

struct CodedHalf {
  int predictor = 0;
  int scale = 0;
  std::array<int8_t, kCodesPerHalf> codes{};  // -8..7

  // ((12 - scale) & 15) | predictor << 4
  uint8_t headerByte() const { return uint8_t(((kMaxScale - scale) & 15) | (predictor << 4)); }
};

// residual / 2^scale, rounded half away from zero by adding 0.4999999 toward
// the sign and truncating (so an exact half goes toward zero).
int quantiseResidual(int64_t residual, int scale);

class AdpcmEncoder {
 public:
  explicit AdpcmEncoder(const Codebook& book);

  // Codes one half of 32 samples.
  CodedHalf encodeHalf(std::span<const int16_t, kHalfSamples> half) const;
  // Codes 64 samples into one block of 40 bytes in the writer's byte order.
  void encodeBlock(std::span<const int16_t, kBlockSamples> samples, common::ByteWriter& out) const;

 private:
  int64_t predictionError(const CodingRows& rows, std::span<const int16_t, kHalfSamples> half, int64_t limit) const;
  int quantise(const CodingRows& rows, std::span<const int16_t, kHalfSamples> half, int scale, CodedHalf& coded) const;

  std::array<CodingRows, kBookPredictors> rows_;
};

}  // namespace convert
