#include "convert/samples/adpcm_encoder.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace convert {
namespace {

// sum(row[j] * v[j]) over the first `used` columns, divided by 2048 and
// rounded toward minus infinity.
inline int64_t predict(const CodingRow& row, const int64_t* v, int used) {
  int64_t sum = 0;
  for (int j = 0; j < used; ++j) sum += int64_t(row[j]) * v[j];
  return sum >> 11;  // arithmetic shift: floor division by 2048
}

// The number of halvings (rounding toward minus infinity) that bring v into
// -8..7, at most 12.
int scaleFor(int64_t v) {
  int scale = 0;
  while (scale < kMaxScale && (v < -8 || v > 7)) {
    v >>= 1;
    ++scale;
  }
  return scale;
}

}  // namespace

int quantiseResidual(int64_t residual, int scale) {
  // In whole numbers: with residual = q 2^s + m, adding 0.4999999 rounds up
  // exactly when m > 2^(s-1).
  const int64_t magnitude = residual < 0 ? -residual : residual;
  const int64_t bias = scale == 0 ? 0 : (int64_t(1) << (scale - 1)) - 1;
  const int64_t code = (magnitude + bias) >> scale;
  const int64_t bounded = std::min<int64_t>(code, std::numeric_limits<int>::max());
  return int(residual < 0 ? -bounded : bounded);
}

AdpcmEncoder::AdpcmEncoder(const Codebook& book) {
  for (int p = 0; p < kBookPredictors; ++p) rows_[p] = codingRows(book[p]);
}

// The sum of squared residuals of the half with the samples themselves as
// state; stops early once the sum reaches `limit`.
int64_t AdpcmEncoder::predictionError(const CodingRows& rows, std::span<const int16_t, kHalfSamples> half,
                                      int64_t limit) const {
  int64_t total = 0;
  int pos = 2;
  for (int size : kGroupSizes) {
    int64_t v[kRowWidth] = {half[pos - 2], half[pos - 1]};
    for (int i = 0; i < size; ++i) {
      const int64_t residual = half[pos + i] - predict(rows[i], v, 2 + i);
      v[2 + i] = residual;
      total += residual * residual;
    }
    if (total >= limit) return total;
    pos += size;
  }
  return total;
}

// Codes the half at one scale; returns the largest difference that clamping
// the codes to -8..7 made.
int AdpcmEncoder::quantise(const CodingRows& rows, std::span<const int16_t, kHalfSamples> half, int scale,
                           CodedHalf& coded) const {
  int worstClamp = 0;
  int64_t state0 = half[0], state1 = half[1];
  int pos = 2;
  for (int size : kGroupSizes) {
    int64_t v[kRowWidth] = {state0, state1};
    int64_t last[2] = {state0, state1};
    for (int i = 0; i < size; ++i) {
      const int64_t prediction = predict(rows[i], v, 2 + i);
      const int code = quantiseResidual(half[pos + i] - prediction, scale);
      const int clamped = std::clamp(code, -8, 7);
      worstClamp = std::max(worstClamp, std::abs(code - clamped));
      coded.codes[pos - 2 + i] = int8_t(clamped);
      v[2 + i] = int64_t(clamped) * (int64_t(1) << scale);
      last[0] = last[1];
      last[1] = prediction + v[2 + i];
    }
    state0 = last[0];
    state1 = last[1];
    pos += size;
  }
  return worstClamp;
}

CodedHalf AdpcmEncoder::encodeHalf(std::span<const int16_t, kHalfSamples> half) const {
  CodedHalf coded;
  int64_t best = std::numeric_limits<int64_t>::max();
  for (int p = 0; p < kBookPredictors; ++p) {
    const int64_t error = predictionError(rows_[p], half, best);
    if (error < best) {
      best = error;
      coded.predictor = p;
    }
  }
  // The scale that brings the largest residual of the winner into -8..7.
  const CodingRows& rows = rows_[coded.predictor];
  int64_t peak = 0;
  int pos = 2;
  for (int size : kGroupSizes) {
    int64_t v[kRowWidth] = {half[pos - 2], half[pos - 1]};
    for (int i = 0; i < size; ++i) {
      v[2 + i] = half[pos + i] - predict(rows[i], v, 2 + i);
      const int64_t residual = std::clamp<int64_t>(v[2 + i], -32768, 32767);
      if (std::llabs(residual) > std::llabs(peak)) peak = residual;
    }
    pos += size;
  }
  int scale = scaleFor(peak);
  for (int attempt = 0; attempt < 4; ++attempt) {
    coded.scale = scale;
    if (quantise(rows, half, scale, coded) < 2) break;
    scale = std::min(scale + 1, kMaxScale);
  }
  return coded;
}

void AdpcmEncoder::encodeBlock(std::span<const int16_t, kBlockSamples> samples, common::ByteWriter& out) const {
  const std::span<const int16_t, kHalfSamples> first = samples.first<kHalfSamples>();
  const std::span<const int16_t, kHalfSamples> second = samples.last<kHalfSamples>();
  out.s16(first[0]);
  out.s16(first[1]);
  out.s16(second[0]);
  out.s16(second[1]);
  for (const auto& half : {first, second}) {
    const CodedHalf coded = encodeHalf(half);
    out.u8(coded.headerByte());
    for (int i = 0; i < kCodesPerHalf; i += 2) {
      out.u8(uint8_t(((coded.codes[i] & 15) << 4) | (coded.codes[i + 1] & 15)));
    }
  }
}

}  // namespace convert
