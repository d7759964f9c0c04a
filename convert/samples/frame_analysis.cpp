#include "convert/samples/frame_analysis.h"

#include <cmath>
#include <cstdlib>
#include <utility>

namespace convert {

std::optional<std::array<double, 2>> solveLinear2(Matrix2 m, std::array<double, 2> b) {
  constexpr int n = 2;
  std::array<double, n> scale{};
  for (int i = 0; i < n; ++i) {
    const double big = std::fmax(std::fabs(m[i][0]), std::fabs(m[i][1]));
    if (big == 0.0) return std::nullopt;
    scale[i] = 1.0 / big;
  }
  std::array<int, n> pivotRow{};
  for (int j = 0; j < n; ++j) {  // Crout's method, column by column
    for (int i = 0; i < j; ++i) {
      double sum = m[i][j];
      for (int k = 0; k < i; ++k) sum -= m[i][k] * m[k][j];
      m[i][j] = sum;
    }
    double big = 0.0;
    int best = j;
    for (int i = j; i < n; ++i) {
      double sum = m[i][j];
      for (int k = 0; k < j; ++k) sum -= m[i][k] * m[k][j];
      m[i][j] = sum;
      if (scale[i] * std::fabs(sum) >= big) {
        big = scale[i] * std::fabs(sum);
        best = i;
      }
    }
    if (best != j) {
      std::swap(m[best], m[j]);
      scale[best] = scale[j];
    }
    pivotRow[j] = best;
    if (m[j][j] == 0.0) return std::nullopt;
    for (int i = j + 1; i < n; ++i) m[i][j] /= m[j][j];
  }
  const double d0 = std::fabs(m[0][0]), d1 = std::fabs(m[1][1]);
  if (std::fmin(d0, d1) / std::fmax(d0, d1) < 1e-10) return std::nullopt;
  // Forward substitution with the row exchanges, then back substitution.
  for (int i = 0; i < n; ++i) {
    double sum = b[pivotRow[i]];
    b[pivotRow[i]] = b[i];
    for (int k = 0; k < i; ++k) sum -= m[i][k] * b[k];
    b[i] = sum;
  }
  for (int i = n - 1; i >= 0; --i) {
    double sum = b[i];
    for (int k = i + 1; k < n; ++k) sum -= m[i][k] * b[k];
    b[i] = sum / m[i][i];
  }
  return b;
}

std::optional<Predictor> framePredictor(std::span<const int16_t, kFrameSize> frame,
                                        std::span<const int16_t, kFrameSize> history) {
  // x[n - k] for n in the frame, reaching back into the history.
  const auto at = [&](int index) -> int64_t { return index >= 0 ? frame[index] : history[kFrameSize + index]; };
  std::array<int64_t, 3> r{};                   // r[k] = -sum x[n] x[n-k]
  std::array<std::array<int64_t, 3>, 3> acm{};  // sum x[n-i] x[n-j], i, j = 1..2
  for (int n = 0; n < kFrameSize; ++n) {
    for (int k = 0; k <= kPredictorOrder; ++k) r[k] -= at(n) * at(n - k);
    for (int i = 1; i <= kPredictorOrder; ++i) {
      for (int j = 1; j <= kPredictorOrder; ++j) acm[i][j] += at(n - i) * at(n - j);
    }
  }
  if (std::llabs(r[0]) <= 10) return std::nullopt;
  const Matrix2 m{{{double(acm[1][1]), double(acm[1][2])}, {double(acm[2][1]), double(acm[2][2])}}};
  const auto solved = solveLinear2(m, {double(r[1]), double(r[2])});
  if (!solved) return std::nullopt;
  const Predictor a{1.0, (*solved)[0], (*solved)[1]};
  Reflection k{};
  if (!reflectionFromPredictor(a, k)) return std::nullopt;
  clampReflection(k);
  return predictorFromReflection(k);
}

}  // namespace convert
