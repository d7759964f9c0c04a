// The Nintendo 64 codebook: 8 second-order predictors, each stored as its
// expansion over the 8 steps of a group, scaled by 2048.
#pragma once

#include <array>
#include <cstdint>

#include "common/byte_order.h"
#include "convert/samples/predictor_math.h"

namespace convert {

constexpr int kBookPredictors = 8;
constexpr int kBookSteps = 8;
constexpr int kBookScale = 2048;  // 1.0 in the book's fixed point
constexpr int kBookValuesPerPredictor = 2 * kBookSteps;
constexpr size_t kBookBytes = size_t(kBookPredictors) * kBookValuesPerPredictor * 2;  // 256

// Per predictor: the contribution of the older state value x[-2] to steps
// 0..7 (column 0), then that of the newer one x[-1] (column 1).
using BookEntry = std::array<int16_t, kBookValuesPerPredictor>;
using Codebook = std::array<BookEntry, kBookPredictors>;
using PredictorSet = std::array<Predictor, kBookPredictors>;

// Expands predictor a over 8 steps: the prediction of step i as a linear
// function of the two values before the group. Each value is scaled by 2048
// and rounded half away from zero; only its low 16 bits are kept.
BookEntry expandPredictor(const Predictor& a);
Codebook expandBook(const PredictorSet& predictors);

// Writes the 256 bytes of the book, each value in the writer's byte order.
void writeCodebook(common::ByteWriter& out, const Codebook& book);

// The coder's view of one book entry: row k gives the prediction of step k
// as sum(row[j] * v[j]) / 2048 over v = (x[-2], x[-1], residual 0, residual
// 1, ...). Row k uses the first k + 2 columns.
constexpr int kRowWidth = 2 + kBookSteps;
using CodingRow = std::array<int32_t, kRowWidth>;
using CodingRows = std::array<CodingRow, kBookSteps>;

CodingRows codingRows(const BookEntry& entry);

}  // namespace convert
