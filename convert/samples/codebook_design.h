// Designs the 8 predictors of a Nintendo 64 codebook from a sample: one
// training predictor per frame of 32 samples, then a vector quantiser grown
// by three splits (1, 2, 4, 8 entries) with two refinements after each,
// measured by the model distance.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "convert/samples/codebook.h"

namespace convert {

// The training predictors of the whole frames of `samples`.
std::vector<Predictor> trainingVectors(std::span<const int16_t> samples);

// The 8 predictors for a set of training vectors. Without any vector, the
// fallback set below is returned.
PredictorSet designPredictors(std::span<const Predictor> training);

// For a sample without a training frame (silence, or fewer than 32
// samples): no prediction, then the previous sample and straight-line
// extrapolation, with a few damped forms between, so that the coder still
// finds a predictor that suits each half.
PredictorSet fallbackPredictors();

// trainingVectors + designPredictors + expandBook.
Codebook designCodebook(std::span<const int16_t> samples);

}  // namespace convert
