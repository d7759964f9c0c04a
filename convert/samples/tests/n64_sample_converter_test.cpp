// The Nintendo 64 conversion of one sample: header words, loop cut, work
// buffer, raw samples, messages; and many samples on several threads.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <vector>

#include "common/testing/cli_run.h"
#include "convert/samples/n64_sample_converter.h"
#include "convert/samples/sample_batch.h"

namespace convert {
namespace {

using common::Endian;

SampleRecord rampRecord(int count, int32_t loopStart = -1, int32_t loopEnd = -1) {
  SampleRecord r;
  r.bits = 16;
  r.channels = 1;
  r.rate = 22050;
  r.rootKey = 64;
  for (int i = 0; i < count; ++i) r.samples16.push_back(int16_t(i));
  r.frames = uint32_t(count);
  r.dataLength = r.frames * 2;
  r.loopStart = loopStart;
  r.loopEnd = loopEnd;
  if (loopStart >= 0) r.loopMode = LoopMode::kLoop;
  return r;
}

struct Conversion {
  bool ok;
  N64ConvertedSample sample;
  std::string text;
};

Conversion convert(const SampleRecord& r, int type, bool verbose = true, Endian endian = Endian::Little,
                   bool n64 = true) {
  std::ostringstream text;
  common::Output out(text);
  N64SampleOptions options;
  options.verbose = verbose;
  options.endian = endian;
  options.targetIsN64 = n64;
  Conversion run;
  run.ok = convertRecordForN64(r, "ramp.wav", type, options, run.sample, out);
  run.text = text.str();
  return run;
}

// The raw samples that type 1 writes, read back little-endian.
std::vector<int16_t> rawSamples(const std::vector<uint8_t>& data) {
  std::vector<int16_t> v;
  for (size_t i = 0; i + 1 < data.size(); i += 2) v.push_back(int16_t(data[i] | data[i + 1] << 8));
  return v;
}

std::vector<int16_t> seq(int from, int to) {  // from..to inclusive
  std::vector<int16_t> v;
  for (int i = from; i <= to; ++i) v.push_back(int16_t(i));
  return v;
}

std::vector<int16_t> concat(std::vector<int16_t> a, const std::vector<int16_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(N64SampleConverter, AdaptiveHeaderAndSize) {
  const Conversion run = convert(rampRecord(100), kSampleTypeAdaptive);
  ASSERT_TRUE(run.ok) << run.text;
  EXPECT_EQ(run.text, "(len=100, frq=22050, key=64)\n");
  EXPECT_EQ(run.sample.header.keyRate, 64u << 24 | 22050u);
  EXPECT_EQ(run.sample.header.lengthType, 0x3000000u | 100u);
  EXPECT_EQ(run.sample.header.loopStart, 0u);
  EXPECT_EQ(run.sample.header.loopLength, 0u);
  // (100 + 8 + 127) / 64 = 3 blocks after the 256-byte book.
  EXPECT_EQ(run.sample.data.size(), 256u + 3 * 40);
  // Type 2 codes the same way.
  const Conversion two = convert(rampRecord(100), kSampleTypeAdaptiveAlt);
  EXPECT_EQ(two.sample.data, run.sample.data);
  EXPECT_EQ(two.sample.header.lengthType, run.sample.header.lengthType);
}

TEST(N64SampleConverter, LoopCutAndWorkBuffer) {
  struct Case {
    const char* what;
    SampleRecord record;
    const char* verbose;
    uint32_t length, loopStart, loopLength;
    std::vector<int16_t> raw;  // length + 8 samples
  };
  const Case table[] = {
      {"unlooped: the last sample repeats", rampRecord(40), "(len=40, frq=22050, key=64)\n", 40, 0, 0,
       concat(seq(0, 39), std::vector<int16_t>(8, 39))},
      {"loop to the end repeats", rampRecord(40, 30, 39), "(len=40, loop=30, llen=10, frq=22050, key=64)\n", 40, 30, 10,
       concat(seq(0, 39), seq(30, 37))},
      {"20 samples after the loop are cut", rampRecord(40, 10, 19), "(len=20, loop=10, llen=10, frq=22050, key=64)\n",
       20, 10, 10, concat(seq(0, 19), seq(10, 17))},
      {"32 after the loop: cut", rampRecord(200, 50, 167), "(len=168, loop=50, llen=118, frq=22050, key=64)\n", 168, 50,
       118, concat(seq(0, 167), seq(50, 57))},
      {"33 after the loop: kept", rampRecord(200, 50, 166), "(len=200, loop=50, llen=117, frq=22050, key=64)\n", 200,
       50, 117, concat(seq(0, 199), std::vector<int16_t>(8, 199))},
      {"loop end past the data ends at the last sample", rampRecord(40, 10, 45),
       "(len=40, loop=10, llen=30, frq=22050, key=64)\n", 40, 10, 30, concat(seq(0, 39), seq(10, 17))},
      {"an unlooped short sample is kept whole", rampRecord(20), "(len=20, frq=22050, key=64)\n", 20, 0, 0,
       concat(seq(0, 19), std::vector<int16_t>(8, 19))},
      {"empty", rampRecord(0), "(len=0, frq=22050, key=64)\n", 0, 0, 0, std::vector<int16_t>(8, 0)},
  };
  for (const Case& c : table) {
    SCOPED_TRACE(c.what);
    const Conversion run = convert(c.record, kSampleTypeRaw);
    ASSERT_TRUE(run.ok) << run.text;
    EXPECT_EQ(run.text, c.verbose);
    EXPECT_EQ(run.sample.header.lengthType, c.length);  // type byte 0: raw
    EXPECT_EQ(run.sample.header.loopStart, c.loopStart);
    EXPECT_EQ(run.sample.header.loopLength, c.loopLength);
    EXPECT_EQ(rawSamples(run.sample.data), c.raw);
    const Conversion coded = convert(c.record, kSampleTypeAdaptive, false);
    ASSERT_TRUE(coded.ok);
    EXPECT_EQ(coded.text, "");
    EXPECT_EQ(coded.sample.data.size(), 256 + 40 * n64BlockCount(c.length));
  }
}

TEST(N64SampleConverter, RawBigEndian) {
  SampleRecord r = rampRecord(2);
  r.samples16 = {0x1234, -2};
  const Conversion run = convert(r, kSampleTypeRaw, false, Endian::Big);
  ASSERT_TRUE(run.ok);
  ASSERT_EQ(run.sample.data.size(), 20u);
  EXPECT_EQ(run.sample.data[0], 0x12);
  EXPECT_EQ(run.sample.data[1], 0x34);
  EXPECT_EQ(run.sample.data[2], 0xFF);
  EXPECT_EQ(run.sample.data[3], 0xFE);
  EXPECT_EQ(run.sample.data[18], 0xFF);  // the last sample repeats
  EXPECT_EQ(run.sample.data[19], 0xFE);
}

TEST(N64SampleConverter, Failures) {
  SampleRecord eightBit = rampRecord(10);
  eightBit.bits = 8;
  SampleRecord stereo = rampRecord(10);
  stereo.channels = 2;
  struct Case {
    const char* what;
    SampleRecord record;
    int type;
    bool n64;
    const char* text;
  };
  const Case table[] = {
      {"8 bits", eightBit, 0, true, "*** Input samples must be 16-bit, mono format.\n"},
      {"stereo", stereo, 0, true, "*** Input samples must be 16-bit, mono format.\n"},
      {"default target", rampRecord(10), 0, false,
       "(len=10, frq=22050, key=64)\n*** Targetformat is not yet supported. No data has been written!\n"},
      {"type 3", rampRecord(10), 3, true,
       "(len=10, frq=22050, key=64)\n*** Sample type 3 of sample file <ramp.wav> is not supported (0, 1 or 2).\n"},
      {"loop start past the end", rampRecord(10, 12, 20), 0, true,
       "*** Loop of sample file <ramp.wav> lies outside the sample data (start 12, end 20, length 10).\n"},
      {"loop ends before it starts", rampRecord(10, 5, 3), 0, true,
       "*** Loop of sample file <ramp.wav> lies outside the sample data (start 5, end 3, length 10).\n"},
  };
  for (const Case& c : table) {
    SCOPED_TRACE(c.what);
    const Conversion run = convert(c.record, c.type, true, Endian::Little, c.n64);
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.text, c.text);
    EXPECT_TRUE(run.sample.data.empty());
  }
}

TEST(N64SampleConverter, FromFiles) {
  testing_support::TempDir dir;
  SampleReader reader;
  N64ConvertedSample result;
  std::ostringstream text;
  common::Output out(text);
  EXPECT_FALSE(convertSampleFileForN64(dir.path() / "none.wav", reader, 0, {}, result, out));
  EXPECT_EQ(text.str(),
            "*** Could not read sample file.\n*** File `" + (dir.path() / "none.wav").string() + "' not found!\n");
  text.str("");
  const auto fixtures = std::filesystem::path(SAMPLE_FIXTURES);
  EXPECT_FALSE(convertSampleFileForN64(fixtures / "py_bytes8.wav", reader, 0, {}, result, out));
  EXPECT_EQ(text.str(), "*** Input samples must be 16-bit, mono format.\n");
  text.str("");
  // An AIFF loop with a release loop: markers 5 and 95 give loop 5..94,
  // 100 - 5 - 90 = 5 samples after it are cut.
  N64SampleOptions verbose;
  verbose.verbose = true;
  ASSERT_TRUE(convertSampleFileForN64(fixtures / "py_inst_release.aiff", reader, 0, verbose, result, out));
  EXPECT_EQ(text.str(), "(len=95, loop=5, llen=90, frq=22050, key=48)\n");
  EXPECT_EQ(result.header.keyRate, 48u << 24 | 22050u);
}

TEST(SampleBatch, TwoThreadsGiveTheBytesOfOne) {
  const auto fixtures = std::filesystem::path(SAMPLE_FIXTURES);
  std::vector<N64SampleJob> jobs;
  for (const char* name : {"speech.wav", "music.wav", "py_bytes8.wav", "py_loop_count3.wav", "sox_tone.aiff",
                           "missing.wav", "py_ramp16.aiff"}) {
    jobs.push_back({fixtures / name, jobs.size() % 3 == 1 ? kSampleTypeRaw : kSampleTypeAdaptive});
  }
  N64SampleOptions options;
  options.verbose = true;
  const auto one = convertSamplesForN64(jobs, options, SampleReaderProfile::current(), 1);
  const auto two = convertSamplesForN64(jobs, options, SampleReaderProfile::current(), 2);
  ASSERT_EQ(one.size(), jobs.size());
  ASSERT_EQ(two.size(), jobs.size());
  for (size_t i = 0; i < jobs.size(); ++i) {
    SCOPED_TRACE(jobs[i].file.string());
    EXPECT_EQ(one[i].ok, two[i].ok);
    EXPECT_EQ(one[i].messages, two[i].messages);
    EXPECT_EQ(one[i].sample.data, two[i].sample.data);
    EXPECT_EQ(one[i].sample.header.lengthType, two[i].sample.header.lengthType);
  }
  EXPECT_FALSE(one[2].ok);
  EXPECT_EQ(one[2].messages, "*** Input samples must be 16-bit, mono format.\n");
  EXPECT_FALSE(one[5].ok);
  EXPECT_EQ(one[5].messages.rfind("*** Could not read sample file.\n*** File `", 0), 0u);
  EXPECT_TRUE(one[0].ok);
  EXPECT_GT(one[0].sample.data.size(), 10000u);
}

}  // namespace
}  // namespace convert
