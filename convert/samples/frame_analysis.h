// Linear prediction analysis of one frame of samples: the training vectors
// from which the Nintendo 64 codebook is designed.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "convert/samples/predictor_math.h"

namespace convert {

constexpr int kFrameSize = 32;

// The 2x2 matrix of the normal equations and its right-hand side.
using Matrix2 = std::array<std::array<double, 2>, 2>;

// Solves m x = b by LU decomposition with partial pivoting and implicit row
// scaling (each row weighed by its largest magnitude). Fails when a row is
// all zero, a pivot is 0, or the smallest diagonal magnitude of U divided by
// the largest is below 1e-10.
std::optional<std::array<double, 2>> solveLinear2(Matrix2 m, std::array<double, 2> b);

// The predictor of one frame: `frame` holds 32 samples, `history` the frame
// before it (its last two samples are used; all zeros before the first
// frame). Returns nothing when the frame does not train: |r0| <= 10, the
// normal equations cannot be solved, or the step-down fails. The reflection
// coefficients of the result are clamped.
std::optional<Predictor> framePredictor(std::span<const int16_t, kFrameSize> frame,
                                        std::span<const int16_t, kFrameSize> history);

}  // namespace convert
