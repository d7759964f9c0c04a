// Known answers for the predictor arithmetic, the book expansion and the
// book design, worked out by hand (fractions checked with a calculator).
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "convert/samples/codebook.h"
#include "convert/samples/codebook_design.h"
#include "convert/samples/frame_analysis.h"
#include "convert/samples/predictor_math.h"

namespace convert {
namespace {

TEST(PredictorMath, StepDownStepUpAndAutocorrelation) {
  // a = (1, -0.9, 0.2): k2 = 0.2, k1 = -0.9 * 0.8 / 0.96 = -0.75.
  const Predictor a{1.0, -0.9, 0.2};
  Reflection k{};
  ASSERT_TRUE(reflectionFromPredictor(a, k));
  EXPECT_DOUBLE_EQ(k[1], -0.75);
  EXPECT_DOUBLE_EQ(k[2], 0.2);
  const Predictor back = predictorFromReflection(k);
  EXPECT_DOUBLE_EQ(back[0], 1.0);
  EXPECT_DOUBLE_EQ(back[1], -0.9);
  EXPECT_DOUBLE_EQ(back[2], 0.2);
  // r1 = -k1 = 0.75, r2 = -(a1 r1 + a2) = 0.475.
  const Autocorrelation r = normalisedAutocorrelation(a);
  EXPECT_DOUBLE_EQ(r[0], 1.0);
  EXPECT_DOUBLE_EQ(r[1], 0.75);
  EXPECT_NEAR(r[2], 0.475, 1e-15);
  // Levinson-Durbin gives the reflection coefficients back; the remaining
  // error is 0.4375 * 0.96 = 0.42, which the model distance measures.
  const Reflection again = levinsonDurbin(r);
  EXPECT_NEAR(again[1], -0.75, 1e-15);
  EXPECT_NEAR(again[2], 0.2, 1e-15);
  EXPECT_NEAR(modelDistance(a, r), 0.42, 1e-15);
  // A worse predictor has a larger distance.
  EXPECT_GT(modelDistance(Predictor{1.0, -0.91, 0.2}, r), 0.42);
  // Nothing to predict: all coefficients 0.
  const Reflection none = levinsonDurbin(Autocorrelation{});
  EXPECT_EQ(none[1], 0.0);
  EXPECT_EQ(none[2], 0.0);
}

TEST(PredictorMath, StepDownFailuresAndClamping) {
  Reflection k{};
  EXPECT_FALSE(reflectionFromPredictor(Predictor{1.0, 0.3, 1.0}, k));   // 1 - a2^2 = 0
  EXPECT_FALSE(reflectionFromPredictor(Predictor{1.0, -1.9, 0.5}, k));  // k1 = -1.27
  EXPECT_TRUE(reflectionFromPredictor(Predictor{1.0, -1.5, 0.5}, k));   // k1 = -1 exactly
  EXPECT_DOUBLE_EQ(k[1], -1.0);
  EXPECT_TRUE(reflectionFromPredictor(Predictor{1.0, 0.0, 3.0}, k));  // k2 is not tested
  Reflection c{0.0, 1.5, -1.0};
  clampReflection(c);
  EXPECT_EQ(c[1], kReflectionLimit);
  EXPECT_EQ(c[2], -kReflectionLimit);
  Reflection inside{0.0, 0.5, -0.999};
  clampReflection(inside);
  EXPECT_EQ(inside[1], 0.5);
  EXPECT_EQ(inside[2], -0.999);
}

TEST(FrameAnalysis, SolvesAndRefusesTheNormalEquations) {
  auto x = solveLinear2({{{2, 1}, {1, 3}}}, {3, 5});
  ASSERT_TRUE(x);
  EXPECT_NEAR((*x)[0], 0.8, 1e-15);
  EXPECT_NEAR((*x)[1], 1.4, 1e-15);
  x = solveLinear2({{{0, 1}, {1, 0}}}, {2, 3});  // needs the row exchange
  ASSERT_TRUE(x);
  EXPECT_NEAR((*x)[0], 3, 1e-15);
  EXPECT_NEAR((*x)[1], 2, 1e-15);
  EXPECT_FALSE(solveLinear2({{{0, 0}, {1, 2}}}, {1, 1}));      // a zero row
  EXPECT_FALSE(solveLinear2({{{1, 2}, {2, 4}}}, {1, 1}));      // singular
  EXPECT_FALSE(solveLinear2({{{1, 0}, {0, 1e-11}}}, {1, 1}));  // diagonal ratio below 1e-10
  EXPECT_TRUE(solveLinear2({{{1, 0}, {0, 1e-9}}}, {1, 1}));
}

std::array<int16_t, kFrameSize> frameOf(std::initializer_list<int16_t> head) {
  std::array<int16_t, kFrameSize> f{};
  std::copy(head.begin(), head.end(), f.begin());
  return f;
}

TEST(FrameAnalysis, PredictorOfAFrame) {
  const std::array<int16_t, kFrameSize> silence{};
  // x = 8, 4, 2, 1: r = (-85, -42, -20), R = [[85, 42], [42, 85]];
  // a1 = -2730/5461, a2 = 64/5461.
  const auto f = frameOf({8, 4, 2, 1});
  auto p = framePredictor(f, silence);
  ASSERT_TRUE(p);
  EXPECT_NEAR((*p)[1], -2730.0 / 5461.0, 1e-12);
  EXPECT_NEAR((*p)[2], 64.0 / 5461.0, 1e-12);
  // x = 20, 10 alone: R = [[500, 200], [200, 500]], r = (-500, -200, 0):
  // a = (-10/21, 4/21). After a frame ending in 80, 40 the history adds to
  // every sum: R = [[2100, 4200], [4200, 8500]], r1 = -1000, r2 = -2000:
  // a = (-10/21, 0).
  const auto g = frameOf({20, 10});
  p = framePredictor(g, silence);
  ASSERT_TRUE(p);
  EXPECT_NEAR((*p)[1], -10.0 / 21.0, 1e-12);
  EXPECT_NEAR((*p)[2], 4.0 / 21.0, 1e-12);
  std::array<int16_t, kFrameSize> history{};
  history[30] = 80;
  history[31] = 40;
  p = framePredictor(g, history);
  ASSERT_TRUE(p);
  EXPECT_NEAR((*p)[1], -10.0 / 21.0, 1e-12);
  EXPECT_NEAR((*p)[2], 0.0, 1e-12);
}

TEST(FrameAnalysis, WhichFramesTrain) {
  struct Case {
    std::vector<int16_t> samples;
    size_t vectors;
  };
  std::vector<int16_t> twoFrames(64, 0);
  twoFrames[0] = 8;
  twoFrames[1] = 4;
  twoFrames[2] = 2;
  twoFrames[33] = 100;  // a lone value trains (1, 0, 0)
  std::vector<int16_t> partial(63, 0);
  partial[40] = 500;  // only in the partial second frame
  partial[41] = 200;
  const Case table[] = {
      {{3, 1}, 0},                       // shorter than a frame
      {std::vector<int16_t>(32, 0), 0},  // r0 = 0
      {[] {
         auto v = std::vector<int16_t>(32, 0);
         v[0] = 3;
         v[1] = 1;
         return v;
       }(),
       0},  // |r0| = 10
      {[] {
         auto v = std::vector<int16_t>(32, 0);
         v[0] = 3;
         v[1] = 1;
         v[2] = 1;
         return v;
       }(),
       1},                                  // 11
      {std::vector<int16_t>(64, 1000), 1},  // a constant after a constant: R is singular
      {twoFrames, 2},
      {partial, 0},  // a last partial frame is not used
  };
  for (const Case& c : table) EXPECT_EQ(trainingVectors(c.samples).size(), c.vectors);
}

TEST(Codebook, ExpansionOfAPredictor) {
  // a = (1, -0.5, 0.25): x[i] = 0.5 x[i-1] - 0.25 x[i-2]. Steps by hand:
  // T0 = (-0.25, 0.5), T1 = (-0.125, 0), T2 = (0, -0.125),
  // T3 = (0.03125, -0.0625), T4 = (0.015625, 0), T5 = (0, 0.015625),
  // T6 = (-0.00390625, 0.0078125), T7 = (-0.001953125, 0); times 2048.
  const BookEntry e = expandPredictor(Predictor{1.0, -0.5, 0.25});
  EXPECT_EQ(e, (BookEntry{-512, -256, 0, 64, 32, 0, -8, -4, 1024, 0, -256, -128, 0, 32, 16, 0}));

  // Halves round away from zero: a2 = -1/4096 gives 0.5 in step 0.
  EXPECT_EQ(expandPredictor(Predictor{1.0, 0.0, -1.0 / 4096}),
            (BookEntry{1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(expandPredictor(Predictor{1.0, 0.0, 1.0 / 4096}),
            (BookEntry{-1, 0, 0, 0, 0, 0, 0, 0, 0, -1, 0, 0, 0, 0, 0, 0}));
  // Out of range values keep their low 16 bits: 20 * 2048 = 40960 -> -24576,
  // 400 * 2048 = 819200 -> 32768 -> -32768.
  const BookEntry big = expandPredictor(Predictor{1.0, -20.0, 0.0});
  EXPECT_EQ(big[8], -24576);
  EXPECT_EQ(big[9], -32768);
  // No prediction: all zero.
  EXPECT_EQ(expandPredictor(Predictor{1.0, 0.0, 0.0}), BookEntry{});
}

TEST(Codebook, CodingRows) {
  const BookEntry e{-512, -256, 0, 64, 32, 0, -8, -4, 1024, 0, -256, -128, 0, 32, 16, 0};
  const CodingRows rows = codingRows(e);
  EXPECT_EQ(rows[0], (CodingRow{-512, 1024, 2048, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(rows[1], (CodingRow{-256, 0, 1024, 2048, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(rows[3], (CodingRow{64, -128, -256, 0, 1024, 2048, 0, 0, 0, 0}));
  EXPECT_EQ(rows[7], (CodingRow{-4, 0, 16, 32, 0, -128, -256, 0, 1024, 2048}));
}

TEST(Codebook, WrittenInTheTargetByteOrder) {
  Codebook book{};
  book[0][0] = 0x1234;
  book[7][15] = -2;
  common::ByteWriter le(common::Endian::Little), be(common::Endian::Big);
  writeCodebook(le, book);
  writeCodebook(be, book);
  ASSERT_EQ(le.size(), kBookBytes);
  ASSERT_EQ(be.size(), kBookBytes);
  EXPECT_EQ(le.data()[0], 0x34);
  EXPECT_EQ(le.data()[1], 0x12);
  EXPECT_EQ(be.data()[0], 0x12);
  EXPECT_EQ(be.data()[1], 0x34);
  EXPECT_EQ(le.data()[254], 0xFE);
  EXPECT_EQ(le.data()[255], 0xFF);
}

TEST(CodebookDesign, OneTrainingFrame) {
  // One vector, P = (1, -2730/5461, 64/5461): the start entry is P; every
  // split leaves the vector with P, and each entry that gets no vector
  // becomes (1, 0, 0), whose expansion is all zero.
  std::vector<int16_t> samples(40, 0);
  samples[0] = 8;
  samples[1] = 4;
  samples[2] = 2;
  samples[3] = 1;
  const Codebook book = designCodebook(samples);
  // P expanded (exact fractions, rounded): column 0, then column 1.
  EXPECT_EQ(book[0], (BookEntry{-24, -12, -6, -3, -1, -1, 0, 0, 1024, 488, 232, 110, 52, 25, 12, 6}));
  for (int p = 1; p < kBookPredictors; ++p) EXPECT_EQ(book[p], BookEntry{}) << p;
}

TEST(CodebookDesign, SplitsSeparateDifferentFrames) {
  // Two kinds of frames: a slow and a fast oscillation. The design ends
  // with one entry near each kind among its 8.
  std::vector<int16_t> samples;
  for (int f = 0; f < 40; ++f) {
    const double w = (f / 8) % 2 == 0 ? 0.1 : 2.5;
    for (int n = 0; n < kFrameSize; ++n) samples.push_back(int16_t(8000 * std::sin(w * (f * kFrameSize + n))));
  }
  const PredictorSet set = designPredictors(trainingVectors(samples));
  // For a sine of frequency w the best predictor is (1, -2 cos w, ~1):
  // a1 = -1.99 for the slow one, +1.60 for the fast one.
  bool slow = false, fast = false;
  for (const Predictor& p : set) {
    slow = slow || (p[1] < -1.5 && p[2] > 0.5);
    fast = fast || (std::fabs(p[1] - 1.602) < 0.05 && p[2] > 0.9);
  }
  EXPECT_TRUE(slow);
  EXPECT_TRUE(fast);
}

TEST(CodebookDesign, FallbackWithoutTraining) {
  const Codebook book = designCodebook(std::vector<int16_t>(40, 0));
  EXPECT_EQ(book, expandBook(fallbackPredictors()));
  EXPECT_EQ(book[0], BookEntry{});
  // The previous-sample predictor (1, -1, 0) gives 1.0 = 2048 on x[-1].
  EXPECT_EQ(book[1][8], 2048);
  EXPECT_EQ(book[1][0], 0);
}

}  // namespace
}  // namespace convert
