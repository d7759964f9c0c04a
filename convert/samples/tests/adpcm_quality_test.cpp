// The adaptive coder judged by what a decoder gets back: faithful audio on
// tones, speech and music, raw samples restored exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <random>
#include <sstream>
#include <vector>

#include "adpcm_decoder.h"
#include "convert/samples/adpcm_encoder.h"
#include "convert/samples/n64_sample_converter.h"
#include "convert/samples/sample_reader.h"

namespace convert {
namespace {

using common::Endian;

SampleRecord monoRecord(std::vector<int16_t> samples, uint32_t rate = 22050) {
  SampleRecord r;
  r.bits = 16;
  r.channels = 1;
  r.rate = rate;
  r.rootKey = 60;
  r.frames = uint32_t(samples.size());
  r.dataLength = r.frames * 2;
  r.samples16 = std::move(samples);
  return r;
}

struct Coded {
  N64ConvertedSample sample;
  std::vector<int16_t> decoded;
};

Coded codeAndDecode(const SampleRecord& record, Endian endian = Endian::Little) {
  std::ostringstream text;
  common::Output out(text);
  N64SampleOptions options;
  options.endian = endian;
  Coded c;
  EXPECT_TRUE(convertRecordForN64(record, "test", kSampleTypeAdaptive, options, c.sample, out)) << text.str();
  const uint32_t blocks = n64BlockCount(c.sample.header.length());
  EXPECT_EQ(c.sample.data.size(), 256 + blocks * 40u);
  c.decoded = testing::decodeN64Adaptive(c.sample.data, blocks, endian);
  return c;
}

std::vector<int16_t> sine(double hz, double rate, double amplitude, size_t count) {
  std::vector<int16_t> v(count);
  for (size_t i = 0; i < count; ++i) v[i] = int16_t(std::lround(amplitude * std::sin(2 * M_PI * hz * i / rate)));
  return v;
}

SampleRecord fixtureRecord(const char* name) {
  SampleReader reader;
  SampleRecord r;
  EXPECT_EQ(reader.readSample(std::filesystem::path(SAMPLE_FIXTURES) / name, r), kSampleReadOk);
  return r;
}

TEST(AdpcmQuality, SineTones) {
  struct Case {
    double hz, amplitude;
  };
  for (const Case c : {Case{440, 12000}, Case{100, 30000}, Case{3000, 8000}, Case{7000, 20000}}) {
    SCOPED_TRACE(c.hz);
    const SampleRecord r = monoRecord(sine(c.hz, 22050, c.amplitude, 22050));
    const Coded coded = codeAndDecode(r);
    EXPECT_GE(testing::snrDb(r.samples16, coded.decoded, r.samples16.size()), 30.0);
  }
}

TEST(AdpcmQuality, SpeechAndMusicBeatFourBitPcmByTenDecibels) {
  for (const char* name : {"speech.wav", "music.wav"}) {
    SCOPED_TRACE(name);
    const SampleRecord r = fixtureRecord(name);
    ASSERT_GT(r.samples16.size(), 10000u);
    const Coded coded = codeAndDecode(r);
    const double adaptive = testing::snrDb(r.samples16, coded.decoded, r.samples16.size());
    const double pcm4 = testing::snrDb(r.samples16, testing::topFourBits(r.samples16), r.samples16.size());
    EXPECT_GE(adaptive, pcm4 + 10.0) << "adaptive " << adaptive << " dB, 4-bit PCM " << pcm4 << " dB";
  }
}

TEST(AdpcmQuality, RawSamplesOfEveryHalfAreExact) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> any(-32768, 32767);
  std::vector<int16_t> noise(5000);
  for (int16_t& s : noise) s = int16_t(any(random));
  const SampleRecord r = monoRecord(noise);
  for (Endian e : {Endian::Little, Endian::Big}) {
    const Coded coded = codeAndDecode(r, e);
    for (size_t i = 0; i < r.samples16.size(); i += kHalfSamples) {
      EXPECT_EQ(coded.decoded[i], r.samples16[i]) << i;
      if (i + 1 < r.samples16.size()) {
        EXPECT_EQ(coded.decoded[i + 1], r.samples16[i + 1]) << i;
      }
    }
  }
}

TEST(AdpcmQuality, ExtremeSignalsStayBounded) {
  // Full-scale square waves and steps: the decoder follows them.
  std::vector<int16_t> square;
  for (int i = 0; i < 4000; ++i) square.push_back((i / 37) % 2 ? 32767 : -32768);
  const SampleRecord r = monoRecord(square);
  const Coded coded = codeAndDecode(r);
  EXPECT_GE(testing::snrDb(r.samples16, coded.decoded, r.samples16.size()), 10.0);
}

TEST(AdpcmQuality, ShortSampleUsesTheFallbackBookWell) {
  // 20 samples: no whole training frame; the fallback book still codes the
  // ramp closely.
  std::vector<int16_t> ramp;
  for (int i = 0; i < 20; ++i) ramp.push_back(int16_t(i * 500 - 4000));
  const SampleRecord r = monoRecord(ramp);
  const Coded coded = codeAndDecode(r);
  EXPECT_EQ(coded.sample.header.length(), 20u);
  EXPECT_GE(testing::snrDb(r.samples16, coded.decoded, r.samples16.size()), 30.0);
}

TEST(AdpcmQuality, ByteOrderOnlySwapsValues) {
  const SampleRecord r = monoRecord(sine(440, 22050, 9000, 3000));
  const Coded little = codeAndDecode(r, Endian::Little);
  const Coded big = codeAndDecode(r, Endian::Big);
  EXPECT_EQ(little.decoded, big.decoded);
  ASSERT_EQ(little.sample.data.size(), big.sample.data.size());
  // Book values and raw samples swap their bytes; header and code bytes do not.
  for (size_t i = 0; i < 256; i += 2) {
    EXPECT_EQ(little.sample.data[i], big.sample.data[i + 1]);
  }
  for (size_t b = 256; b < little.sample.data.size(); b += 40) {
    for (size_t i = 0; i < 8; i += 2) EXPECT_EQ(little.sample.data[b + i], big.sample.data[b + i + 1]);
    for (size_t i = 8; i < 40; ++i) EXPECT_EQ(little.sample.data[b + i], big.sample.data[b + i]);
  }
}

TEST(AdpcmEncoder, QuantisingRoundsExactHalvesTowardZero) {
  // The residual / 2^scale + 0.4999999 toward the sign, truncated.
  for (int scale = 0; scale <= 12; ++scale) {
    for (int64_t r = -70000; r <= 70000; r += (scale < 4 ? 1 : 7)) {
      const double d = double(r) / double(int64_t(1) << scale);
      const int expected = int(d > 0 ? d + 0.4999999 : d - 0.4999999);
      ASSERT_EQ(quantiseResidual(r, scale), expected) << r << " " << scale;
    }
  }
}

TEST(AdpcmEncoder, OneHalfByHand) {
  // A book whose predictor 0 predicts nothing and predictor 1 repeats the
  // previous sample: a constant half is coded by predictor 1 with all-zero
  // codes at scale 0, header byte (12 - 0) | 1 << 4 = 0x1C.
  Codebook book{};
  book[1][8] = 2048;
  for (int i = 1; i < 8; ++i) book[1][8 + i] = 2048;  // x[-1] carries on through every step
  const AdpcmEncoder encoder(book);
  std::array<int16_t, kHalfSamples> flat;
  flat.fill(1234);
  CodedHalf coded = encoder.encodeHalf(flat);
  EXPECT_EQ(coded.predictor, 1);
  EXPECT_EQ(coded.scale, 0);
  EXPECT_EQ(coded.headerByte(), 0x1C);
  for (int8_t c : coded.codes) EXPECT_EQ(c, 0);
  // Steps of +3 from 0 under predictor 1: residual 3 each, in range at scale 0.
  std::array<int16_t, kHalfSamples> steps;
  for (int i = 0; i < kHalfSamples; ++i) steps[i] = int16_t(3 * i);
  coded = encoder.encodeHalf(steps);
  EXPECT_EQ(coded.predictor, 1);
  EXPECT_EQ(coded.scale, 0);
  for (int8_t c : coded.codes) EXPECT_EQ(c, 3);
  // Steps of +20: residual 20 -> 10 -> 5: scale 2, codes round(20 / 4) = 5.
  for (int i = 0; i < kHalfSamples; ++i) steps[i] = int16_t(20 * i);
  coded = encoder.encodeHalf(steps);
  EXPECT_EQ(coded.predictor, 1);
  EXPECT_EQ(coded.scale, 2);
  EXPECT_EQ(coded.headerByte(), 0x1A);
  for (int8_t c : coded.codes) EXPECT_EQ(c, 5);
}

}  // namespace
}  // namespace convert
