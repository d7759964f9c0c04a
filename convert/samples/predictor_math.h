// Second-order linear predictors and the conversions between their forms.
//
// A predictor a = (1, a1, a2) is the error filter e[n] = x[n] + a1 x[n-1] +
// a2 x[n-2], so the prediction of x[n] is -a1 x[n-1] - a2 x[n-2]. Its
// reflection coefficients k1, k2 use the same sign, and its normalised
// autocorrelation r (r0 = 1) is the autocorrelation of the signal for which
// it is the best predictor.
#pragma once

#include <array>

namespace convert {

constexpr int kPredictorOrder = 2;

using Predictor = std::array<double, kPredictorOrder + 1>;        // a0 = 1, a1, a2
using Reflection = std::array<double, kPredictorOrder + 1>;       // k1, k2 (index 0 unused)
using Autocorrelation = std::array<double, kPredictorOrder + 1>;  // r0, r1, r2

// Reflection coefficients are kept just inside the unit circle.
constexpr double kReflectionLimit = 0.9999999999;

// Step-down: k2 = a2, k1 = (a1 - a1 a2) / (1 - a2^2). Fails when 1 - a2^2
// is 0 or |k1| > 1 (k2 is not tested).
bool reflectionFromPredictor(const Predictor& a, Reflection& k);

// Step-up: a1 = k1 + k2 k1, a2 = k2, a0 = 1.
Predictor predictorFromReflection(const Reflection& k);

// Values at or beyond +-1 become +-kReflectionLimit.
void clampReflection(Reflection& k);

// The normalised autocorrelation of predictor a: r0 = 1, r1 = -k1 (k1 of the
// step-down), r2 = -(a1 r1 + a2).
Autocorrelation normalisedAutocorrelation(const Predictor& a);

// Levinson-Durbin recursion on r. A reflection coefficient is 0 when the
// remaining prediction error is not above 0.
Reflection levinsonDurbin(const Autocorrelation& r);

// The prediction error of predictor p on a signal of normalised
// autocorrelation r: r0 c0 + 2 (r1 c1 + r2 c2), where c is the
// autocorrelation of p's coefficients.
double modelDistance(const Predictor& p, const Autocorrelation& r);

}  // namespace convert
