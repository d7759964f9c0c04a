#include "convert/samples/predictor_math.h"

#include <cmath>

namespace convert {

bool reflectionFromPredictor(const Predictor& a, Reflection& k) {
  k[2] = a[2];
  const double denominator = 1.0 - a[2] * a[2];
  if (denominator == 0.0) return false;
  k[1] = (a[1] - a[1] * a[2]) / denominator;
  return std::fabs(k[1]) <= 1.0;
}

Predictor predictorFromReflection(const Reflection& k) { return {1.0, k[1] + k[2] * k[1], k[2]}; }

void clampReflection(Reflection& k) {
  for (int i = 1; i <= kPredictorOrder; ++i) {
    if (k[i] >= 1.0) k[i] = kReflectionLimit;
    if (k[i] <= -1.0) k[i] = -kReflectionLimit;
  }
}

Autocorrelation normalisedAutocorrelation(const Predictor& a) {
  // The first-order predictor below a, by one step-down.
  const double denominator = 1.0 - a[2] * a[2];
  const double a11 = denominator == 0.0 ? 0.0 : (a[1] - a[2] * a[1]) / denominator;
  Autocorrelation r{};
  r[0] = 1.0;
  r[1] = -a11;
  r[2] = -(a[1] * r[1] + a[2] * r[0]);
  return r;
}

Reflection levinsonDurbin(const Autocorrelation& r) {
  Reflection k{};
  double error = r[0];
  // Order 1.
  k[1] = error > 0.0 ? -r[1] / error : 0.0;
  const double a11 = k[1];
  error *= 1.0 - k[1] * k[1];
  // Order 2.
  k[2] = error > 0.0 ? -(r[2] + a11 * r[1]) / error : 0.0;
  return k;
}

double modelDistance(const Predictor& p, const Autocorrelation& r) {
  const double c0 = p[0] * p[0] + p[1] * p[1] + p[2] * p[2];
  const double c1 = p[0] * p[1] + p[1] * p[2];
  const double c2 = p[0] * p[2];
  return r[0] * c0 + 2.0 * (r[1] * c1 + r[2] * c2);
}

}  // namespace convert
