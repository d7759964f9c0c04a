#include "convert/samples/codebook_design.h"

#include "convert/samples/frame_analysis.h"

namespace convert {
namespace {

constexpr int kSplits = 3;
constexpr int kRefinements = 2;
constexpr double kSplitStep = 0.01;  // a split moves the copy by -0.01 in a1

// Levinson-Durbin on an averaged autocorrelation, clamped and stepped up.
Predictor predictorFromAverage(const Autocorrelation& average) {
  Reflection k = levinsonDurbin(average);
  clampReflection(k);
  return predictorFromReflection(k);
}

// Assigns every training vector to its nearest entry (the earliest on
// ties) and moves each entry to the predictor of its vectors' average
// autocorrelation. An entry without vectors becomes (1, 0, 0).
void refine(std::vector<Predictor>& entries, std::span<const Autocorrelation> training) {
  std::vector<Autocorrelation> sums(entries.size(), Autocorrelation{});
  std::vector<int> counts(entries.size(), 0);
  for (const Autocorrelation& r : training) {
    double best = 1e30;
    size_t nearest = 0;
    for (size_t e = 0; e < entries.size(); ++e) {
      const double distance = modelDistance(entries[e], r);
      if (distance < best) {
        best = distance;
        nearest = e;
      }
    }
    for (int i = 0; i <= kPredictorOrder; ++i) sums[nearest][i] += r[i];
    ++counts[nearest];
  }
  for (size_t e = 0; e < entries.size(); ++e) {
    Autocorrelation average{};
    if (counts[e] > 0) {
      for (int i = 0; i <= kPredictorOrder; ++i) average[i] = sums[e][i] / counts[e];
    }
    entries[e] = predictorFromAverage(average);
  }
}

}  // namespace

std::vector<Predictor> trainingVectors(std::span<const int16_t> samples) {
  std::vector<Predictor> vectors;
  std::array<int16_t, kFrameSize> silence{};
  std::span<const int16_t, kFrameSize> history(silence);
  for (size_t start = 0; start + kFrameSize <= samples.size(); start += kFrameSize) {
    const std::span<const int16_t, kFrameSize> frame(samples.data() + start, kFrameSize);
    if (auto p = framePredictor(frame, history)) vectors.push_back(*p);
    history = frame;
  }
  return vectors;
}

PredictorSet designPredictors(std::span<const Predictor> training) {
  if (training.empty()) return fallbackPredictors();
  std::vector<Autocorrelation> correlations;
  correlations.reserve(training.size());
  Autocorrelation sum{};
  for (const Predictor& v : training) {
    correlations.push_back(normalisedAutocorrelation(v));
    for (int i = 0; i <= kPredictorOrder; ++i) sum[i] += correlations.back()[i];
  }
  Autocorrelation average{};
  for (int i = 0; i <= kPredictorOrder; ++i) average[i] = sum[i] / double(training.size());

  std::vector<Predictor> entries{predictorFromAverage(average)};
  for (int split = 0; split < kSplits; ++split) {
    const size_t n = entries.size();
    for (size_t i = 0; i < n; ++i) {
      Predictor moved = entries[i];
      moved[1] -= kSplitStep;
      entries.push_back(moved);
    }
    for (int pass = 0; pass < kRefinements; ++pass) refine(entries, correlations);
  }
  PredictorSet set{};
  for (int i = 0; i < kBookPredictors; ++i) set[i] = entries[i];
  return set;
}

PredictorSet fallbackPredictors() {
  return {{
      {1.0, 0.0, 0.0},   // no prediction
      {1.0, -1.0, 0.0},  // the previous sample
      {1.0, -2.0, 1.0},  // the straight line through the last two
      {1.0, -0.5, 0.0},
      {1.0, -0.875, 0.0},
      {1.0, -1.5, 0.5},  // a damped line
      {1.0, -1.75, 0.8},
      {1.0, -1.0, 0.5},
  }};
}

Codebook designCodebook(std::span<const int16_t> samples) {
  return expandBook(designPredictors(trainingVectors(samples)));
}

}  // namespace convert
