#include "convert/samples/codebook.h"

#include <cmath>

namespace convert {

BookEntry expandPredictor(const Predictor& a) {
  // table[i][j]: weight of state value j (0 = x[-2], 1 = x[-1]) in step i.
  std::array<std::array<double, 2>, kBookSteps> table{};
  table[0][0] = -a[2];
  table[0][1] = -a[1];
  table[1][1] = -a[2];
  for (int i = 1; i < kBookSteps; ++i) {
    for (int k = 1; k <= kPredictorOrder && k <= i; ++k) {
      for (int j = 0; j < 2; ++j) table[i][j] -= a[k] * table[i - k][j];
    }
  }
  BookEntry entry{};
  for (int j = 0; j < 2; ++j) {
    for (int i = 0; i < kBookSteps; ++i) {
      const double scaled = table[i][j] * kBookScale;
      const double rounded = scaled < 0 ? std::ceil(scaled - 0.5) : std::floor(scaled + 0.5);
      // Out-of-range values wrap to their low 16 bits; a saturating cast of
      // the double keeps the conversion defined for any size.
      const double bounded = std::fmax(-2147483648.0, std::fmin(2147483647.0, rounded));
      entry[j * kBookSteps + i] = int16_t(uint16_t(uint32_t(int64_t(bounded))));
    }
  }
  return entry;
}

Codebook expandBook(const PredictorSet& predictors) {
  Codebook book{};
  for (int p = 0; p < kBookPredictors; ++p) book[p] = expandPredictor(predictors[p]);
  return book;
}

void writeCodebook(common::ByteWriter& out, const Codebook& book) {
  for (const BookEntry& entry : book) {
    for (int16_t value : entry) out.s16(value);
  }
}

CodingRows codingRows(const BookEntry& entry) {
  CodingRows rows{};
  for (int k = 0; k < kBookSteps; ++k) {
    rows[k][0] = entry[k];
    rows[k][1] = entry[kBookSteps + k];
    rows[k][2] = k == 0 ? kBookScale : rows[k - 1][1];
  }
  // A residual m steps back weighs like the first residual of a group at
  // step k - m.
  for (int k = 0; k < kBookSteps; ++k) {
    for (int m = 1; m < kBookSteps; ++m) rows[k][2 + m] = k < m ? 0 : rows[k - m][2];
  }
  return rows;
}

}  // namespace convert
