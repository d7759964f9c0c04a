// The sample readers on files written by sox and python3 (see
// fixtures/make_fixtures.sh) and on small files put together by hand.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/byte_order.h"
#include "common/testing/cli_run.h"
#include "convert/samples/aiff_rate.h"
#include "convert/samples/sample_formats.h"
#include "convert/samples/sample_reader.h"

namespace convert {
namespace {

using common::ByteWriter;
using common::Endian;

std::filesystem::path fixture(const std::string& name) { return std::filesystem::path(SAMPLE_FIXTURES) / name; }

std::vector<int16_t> ramp() {
  std::vector<int16_t> v;
  for (int i = 0; i < 100; ++i) v.push_back(int16_t(i * 300 - 15000));
  return v;
}

struct Expected {
  const char* file;
  uint32_t rate, frames;
  uint16_t bits, channels, rootKey;
  int32_t loopStart, loopEnd;
  LoopMode mode;
  int32_t loopCount;
  uint32_t dataLength;
};

TEST(SampleReader, ReadsFilesOfIndependentTools) {
  const Expected table[] = {
      {"py_ramp16.wav", 22050, 100, 16, 1, 60, -1, -1, LoopMode::kNone, 0, 200},
      {"py_bytes8.wav", 11025, 4, 8, 1, 60, -1, -1, LoopMode::kNone, 0, 4},
      {"py_loop_count3.wav", 22050, 100, 16, 1, 64, 10, 59, LoopMode::kLoop, 3, 200},
      {"py_loop_endless.wav", 22050, 100, 16, 1, 60, 20, 89, LoopMode::kLoop, -1, 200},
      {"py_smpl_noloop.wav", 22050, 100, 16, 1, 72, -1, -1, LoopMode::kNone, 0, 200},
      {"py_odd_chunk.wav", 8000, 4, 16, 1, 60, -1, -1, LoopMode::kNone, 0, 8},
      {"sox_8bit.wav", 8000, 80, 8, 1, 60, -1, -1, LoopMode::kNone, 0, 80},
      // Markers without INST set the loop points but not the loop mode.
      {"py_ramp16.aiff", 44100, 100, 16, 1, 60, 10, 59, LoopMode::kNone, 0, 200},
      {"py_rate96k.aiff", 30464, 4, 16, 1, 60, -1, -1, LoopMode::kNone, 0, 8},
      {"py_bytes8.aiff", 8000, 4, 8, 1, 60, -1, -1, LoopMode::kNone, 0, 4},
      {"py_inst_loop.aiff", 22050, 100, 16, 1, 67, 5, 94, LoopMode::kLoop, -1, 200},
      {"py_inst_release.aiff", 22050, 100, 16, 1, 48, 5, 94, LoopMode::kLoopWithRelease, -1, 200},
  };
  SampleReader reader;
  for (const Expected& e : table) {
    SCOPED_TRACE(e.file);
    SampleRecord r;
    ASSERT_EQ(reader.readSample(fixture(e.file), r), kSampleReadOk) << reader.lastError();
    EXPECT_EQ(reader.lastError(), "");
    EXPECT_EQ(r.rate, e.rate);
    EXPECT_EQ(r.frames, e.frames);
    EXPECT_EQ(r.bits, e.bits);
    EXPECT_EQ(r.channels, e.channels);
    EXPECT_EQ(r.rootKey, e.rootKey);
    EXPECT_EQ(r.loopStart, e.loopStart);
    EXPECT_EQ(r.loopEnd, e.loopEnd);
    EXPECT_EQ(r.loopMode, e.mode);
    EXPECT_EQ(r.loopCount, e.loopCount);
    EXPECT_EQ(r.dataLength, e.dataLength);
    EXPECT_EQ(r.coding, 0);
    EXPECT_EQ(r.samples16.size() + r.samples8.size(), e.bits == 16 ? e.dataLength / 2 : e.dataLength);
  }
}

TEST(SampleReader, SampleValues) {
  SampleReader reader;
  SampleRecord r;
  for (const char* name : {"py_ramp16.wav", "py_ramp16.aiff"}) {
    ASSERT_EQ(reader.readSample(fixture(name), r), kSampleReadOk);
    EXPECT_EQ(r.samples16, ramp()) << name;
  }
  // WAV bytes are unsigned: 0x80 is silence.
  ASSERT_EQ(reader.readSample(fixture("py_bytes8.wav"), r), kSampleReadOk);
  EXPECT_EQ(r.samples8, (std::vector<int8_t>{0, -128, 127, -127}));
  // AIFF bytes are signed already.
  ASSERT_EQ(reader.readSample(fixture("py_bytes8.aiff"), r), kSampleReadOk);
  EXPECT_EQ(r.samples8, (std::vector<int8_t>{0, 127, -128, -1}));
  ASSERT_EQ(reader.readSample(fixture("py_odd_chunk.wav"), r), kSampleReadOk);
  EXPECT_EQ(r.samples16, (std::vector<int16_t>{1, -2, 3, -4}));
}

TEST(SampleReader, SameToneFromSoxInBothContainers) {
  SampleReader reader;
  SampleRecord wav, aiff;
  ASSERT_EQ(reader.readSample(fixture("sox_tone.wav"), wav), kSampleReadOk);
  ASSERT_EQ(reader.readSample(fixture("sox_tone.aiff"), aiff), kSampleReadOk);
  EXPECT_EQ(wav.rate, 22050u);
  EXPECT_EQ(aiff.rate, 22050u);
  EXPECT_EQ(wav.frames, aiff.frames);
  ASSERT_GT(wav.samples16.size(), 1000u);
  EXPECT_EQ(wav.samples16, aiff.samples16);
  SampleRecord stereo;
  ASSERT_EQ(reader.readSample(fixture("sox_stereo.wav"), stereo), kSampleReadOk);
  EXPECT_EQ(stereo.channels, 2);
  EXPECT_EQ(stereo.frames * 4, stereo.dataLength);
}

TEST(SampleReader, FilesOfLibsndfile) {
  SampleReader reader;
  SampleRecord tone, aiff, eight, loop;
  ASSERT_EQ(reader.readSample(fixture("sox_tone.wav"), tone), kSampleReadOk);
  ASSERT_EQ(reader.readSample(fixture("lsf_tone.aiff"), aiff), kSampleReadOk);
  EXPECT_EQ(aiff.rate, 22050u);
  EXPECT_EQ(aiff.samples16, tone.samples16);
  // 8 bits: 1103 bytes of data (an odd chunk with its pad byte); each
  // sample is the 16-bit one reduced to its top byte, give or take one step.
  ASSERT_EQ(reader.readSample(fixture("lsf_tone8.wav"), eight), kSampleReadOk);
  EXPECT_EQ(eight.bits, 8);
  EXPECT_EQ(eight.dataLength, 1103u);
  ASSERT_EQ(eight.samples8.size(), tone.samples16.size());
  for (size_t i = 0; i < tone.samples16.size(); ++i) {
    EXPECT_LE(std::abs(eight.samples8[i] * 256 - tone.samples16[i]), 256) << i;
  }
  // The "smpl" loop survives a copy through libsndfile.
  ASSERT_EQ(reader.readSample(fixture("lsf_loop.wav"), loop), kSampleReadOk);
  EXPECT_EQ(loop.rootKey, 64);
  EXPECT_EQ(loop.loopStart, 10);
  EXPECT_EQ(loop.loopEnd, 59);
  EXPECT_EQ(loop.loopCount, 3);
  EXPECT_EQ(loop.samples16, ramp());
}

TEST(SampleReader, ReleaseDifferences) {
  SampleReader old(SampleReaderProfile::release115());
  SampleRecord r;
  // 1.15 skips the 3-byte chunk without its pad byte and loses its way.
  EXPECT_EQ(old.readSample(fixture("py_odd_chunk.wav"), r), kSampleFormatError);
  EXPECT_EQ(old.lastError(), "Error locating `fmt ' chunk!");
  ASSERT_EQ(old.readSample(fixture("py_rate96k.aiff"), r), kSampleReadOk);
  EXPECT_EQ(r.rate, 96000u);
  ASSERT_EQ(old.readSample(fixture("py_ramp16.aiff"), r), kSampleReadOk);
  EXPECT_EQ(r.rate, 44100u);
}

// 80-bit extended numbers written out by hand: sign and exponent (bias
// 16383), then the mantissa with its integer bit.
TEST(AiffRate, BothRules) {
  struct Case {
    std::array<uint8_t, 10> bytes;
    uint32_t current, release115;
  };
  const Case table[] = {
      {{0x40, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0, 0}, 44100, 44100},  // 44100 = 0xAC44 * 2^0
      {{0x40, 0x0F, 0xBB, 0x80, 0, 0, 0, 0, 0, 0}, 30464, 96000},  // 96000 wraps to 16 bits
      {{0x40, 0x0B, 0xFA, 0x00, 0, 0, 0, 0, 0, 0}, 8000, 8000},
      {{0x40, 0x0B, 0xFA, 0x10, 0, 0, 0, 0, 0, 0}, 8002, 8002},  // 8002.0
      {{0x40, 0x0B, 0xFA, 0x08, 0, 0, 0, 0, 0, 0}, 8001, 8001},  // 8001.0
      {{0x40, 0x0A, 0xFA, 0x08, 0, 0, 0, 0, 0, 0}, 4000, 4000},  // 4000.5 truncates
      {{0x00, 0x00, 0, 0, 0, 0, 0, 0, 0, 0}, 0, 0},
      {{0x7F, 0xFF, 0x80, 0, 0, 0, 0, 0, 0, 0}, 0, 0},                        // infinity
      {{0x40, 0x1E, 0x80, 0, 0, 0, 0, 0, 0, 0}, 0, 0x80000000u},              // 2^31
      {{0xC0, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0, 0}, 0x10000u - 44100, 44100},  // -44100
  };
  for (const Case& c : table) {
    EXPECT_EQ(aiffSampleRate(c.bytes.data(), SampleReaderProfile::AiffRate::kLow16Bits), c.current);
    EXPECT_EQ(aiffSampleRate(c.bytes.data(), SampleReaderProfile::AiffRate::kMantissaShift), c.release115);
  }
}

// --- Files put together by hand --------------------------------------------

ByteWriter riff() {
  ByteWriter w(Endian::Little);
  w.text("RIFF");
  w.u32(0);  // the readers do not look at the form size
  w.text("WAVE");
  return w;
}

void fmtChunk(ByteWriter& w, uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
  w.text("fmt ");
  w.u32(16);
  w.u16(tag);
  w.u16(channels);
  w.u32(rate);
  w.u32(rate * channels * 2);
  w.u16(uint16_t(channels * 2));
  w.u16(bits);
}

void dataChunk(ByteWriter& w, const std::vector<int16_t>& samples, uint32_t announced = 0) {
  w.text("data");
  w.u32(announced ? announced : uint32_t(samples.size() * 2));
  for (int16_t s : samples) w.s16(s);
}

ByteWriter form(const char* type) {
  ByteWriter w(Endian::Big);
  w.text("FORM");
  w.u32(0);
  w.text(type);
  return w;
}

void commChunk(ByteWriter& w, uint16_t channels, uint32_t frames, uint16_t bits) {
  w.text("COMM");
  w.u32(18);
  w.u16(channels);
  w.u32(frames);
  w.u16(bits);
  const uint8_t rate[10] = {0x40, 0x0B, 0xFA, 0x00, 0, 0, 0, 0, 0, 0};  // 8000
  w.bytes(rate);
}

void ssndChunk(ByteWriter& w, const std::vector<int16_t>& samples) {
  w.text("SSND");
  w.u32(uint32_t(8 + samples.size() * 2));
  w.u32(0);
  w.u32(0);
  for (int16_t s : samples) w.s16(s);
}

ByteWriter kalp(uint16_t version, uint16_t coding, uint16_t bits, uint16_t channels) {
  ByteWriter w(Endian::Little);
  w.text("KALP");
  w.u16(0);
  w.u16(version);
  w.u16(coding);
  w.u16(bits);
  w.u16(66);  // root key
  w.u16(channels);
  w.u32(32000);  // rate
  w.u32(0xAAAAAAAA);
  w.u32(3);  // sample count
  w.u32(1);
  w.u32(2);
  w.u32(3);
  w.u16(4);
  w.u16(5);
  return w;
}

struct Failure {
  const char* what;
  std::vector<uint8_t> bytes;
  int code;
  std::string text;
};

std::vector<Failure> failures() {
  std::vector<Failure> f;
  f.push_back({"empty", {}, kSampleUnknownType, "File `x.smp' is of an unknown type!"});
  f.push_back({"text",
               {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!'},
               kSampleUnknownType,
               "File `x.smp' is of an unknown type!"});
  {
    ByteWriter w = form("AIFC");
    commChunk(w, 1, 1, 16);
    ssndChunk(w, {1});
    f.push_back({"AIFC", w.take(), kSampleUnknownType, "File `x.smp' is of an unknown type!"});
  }
  {
    ByteWriter w = riff();
    dataChunk(w, {1, 2});
    f.push_back({"no fmt", w.take(), kSampleFormatError, "Error locating `fmt ' chunk!"});
  }
  {
    ByteWriter w = riff();
    fmtChunk(w, 3, 1, 8000, 32);
    dataChunk(w, {1, 2});
    f.push_back({"float", w.take(), kSampleFormatError, "Unsupported compression scheme (3)!"});
  }
  {
    ByteWriter w = riff();
    fmtChunk(w, 1, 1, 8000, 16);
    f.push_back({"no data", w.take(), kSampleFormatError, "Error locating `data' chunk!"});
  }
  {
    ByteWriter w = riff();
    fmtChunk(w, 1, 1, 8000, 24);
    dataChunk(w, {1, 2, 3});
    f.push_back({"24 bits", w.take(), kSampleFormatError, "Unsupported bits per sample (24)!"});
  }
  {
    ByteWriter w = riff();
    w.text("fmt ");
    w.u32(16);
    w.u16(1);
    f.push_back({"fmt cut short", w.take(), kSampleFormatError, "Error locating `fmt ' chunk!"});
  }
  {
    ByteWriter w = form("AIFF");
    ssndChunk(w, {1});
    f.push_back({"no COMM", w.take(), kSampleFormatError, "Error locating `COMM' chunk!"});
  }
  {
    ByteWriter w = form("AIFF");
    commChunk(w, 1, 1, 16);
    f.push_back({"no SSND", w.take(), kSampleFormatError, "Error locating `SSND' chunk!"});
  }
  {
    ByteWriter w = form("AIFF");
    commChunk(w, 1, 1, 12);
    ssndChunk(w, {1});
    f.push_back({"12 bits", w.take(), kSampleFormatError, "Unsupported bits per sample (12)!"});
  }
  f.push_back({"KALP 8 bits, 2 channels", kalp(1, 0, 8, 2).take(), kSampleFormatError,
               "KALP samples must have 16 bits/sample"});
  f.push_back(
      {"KALP 2 channels", kalp(1, 0, 16, 2).take(), kSampleFormatError, "KALP samples must have only 1 channel"});
  f.push_back({"KALP version 2", kalp(2, 0, 16, 1).take(), kSampleUnknownType, "File `x.smp' is of an unknown type!"});
  {
    std::vector<uint8_t> bytes = kalp(1, 0, 16, 1).take();
    bytes.resize(30);
    f.push_back({"KALP header cut short", bytes, kSampleReadError, "Error while reading sample!"});
  }
  {
    std::vector<uint8_t> bytes = kalp(1, 0, 16, 1).take();
    bytes[4] = 1;
    f.push_back({"KALP nonzero pad", bytes, kSampleUnknownType, "File `x.smp' is of an unknown type!"});
  }
  return f;
}

TEST(SampleReader, EveryFailureCodeAndText) {
  SampleReader reader;
  for (const Failure& f : failures()) {
    SCOPED_TRACE(f.what);
    SampleRecord r;
    EXPECT_EQ(reader.readSampleBytes(f.bytes, "x.smp", r), f.code);
    EXPECT_EQ(reader.lastError(), f.text);
    EXPECT_TRUE(r.samples16.empty() && r.samples8.empty());
  }
}

TEST(SampleReader, MissingFileAndFolder) {
  testing_support::TempDir dir;
  SampleReader reader;
  SampleRecord r;
  const std::filesystem::path missing = dir.path() / "missing.wav";
  EXPECT_EQ(reader.readSample(missing, r), kSampleFileNotFound);
  EXPECT_EQ(reader.lastError(), "File `" + missing.string() + "' not found!");
  EXPECT_EQ(reader.readSample(dir.path(), r), kSampleFileNotFound);
  // The next read clears the text; free clears it too.
  EXPECT_EQ(reader.readSample(fixture("py_ramp16.wav"), r), kSampleReadOk);
  EXPECT_EQ(reader.lastError(), "");
  EXPECT_EQ(reader.readSample(missing, r), kSampleFileNotFound);
  reader.freeSample(r);
  EXPECT_EQ(reader.lastError(), "");
}

TEST(SampleReader, Kalp) {
  SampleReader reader;
  struct Case {
    uint16_t codingField, coding;
  };
  for (const Case c : {Case{0, 1}, Case{1, 2}, Case{2, 0}, Case{0xFFFF, 0}}) {
    ByteWriter w = kalp(1, c.codingField, 16, 1);
    for (int16_t s : {100, -2, 0x1234}) w.s16(s);
    w.u8(0x77);  // an odd byte counts in the length
    SampleRecord r;
    ASSERT_EQ(reader.readSampleBytes(w.data(), "k.kalp", r), kSampleReadOk) << reader.lastError();
    EXPECT_EQ(r.coding, c.coding);
    EXPECT_EQ(r.bits, 16);
    EXPECT_EQ(r.channels, 1);
    EXPECT_EQ(r.rootKey, 66);
    EXPECT_EQ(r.rate, 32000u);
    EXPECT_EQ(r.frames, 3u);
    EXPECT_EQ(r.dataLength, 7u);
    EXPECT_EQ(r.loopStart, -1);
    EXPECT_EQ(r.loopEnd, -1);
    EXPECT_EQ(r.loopMode, LoopMode::kNone);
    EXPECT_EQ(r.samples16, (std::vector<int16_t>{100, -2, 0x1234}));
  }
  SampleRecord empty;
  ASSERT_EQ(reader.readSampleBytes(kalp(1, 0, 16, 1).data(), "k.kalp", empty), kSampleReadOk);
  EXPECT_EQ(empty.dataLength, 0u);
  // The version is checked again by the KALP reader itself.
  SampleRecord r;
  const std::vector<uint8_t> v3 = kalp(3, 0, 16, 1).take();
  const SampleReadStatus status = readKalp(v3, r);
  EXPECT_EQ(status.code, kSampleBadKalpVersion);
  EXPECT_EQ(status.text, "Unsupported KALP file version!");
}

TEST(SampleReader, DataChunkLongerThanTheFile) {
  // A data chunk that announces more bytes than the file holds (as streamed
  // files do) gives the samples that are there.
  ByteWriter w = riff();
  fmtChunk(w, 1, 1, 8000, 16);
  dataChunk(w, {5, 6, 7}, 0xFFFFFFFF);
  SampleReader reader;
  SampleRecord r;
  ASSERT_EQ(reader.readSampleBytes(w.data(), "s.wav", r), kSampleReadOk);
  EXPECT_EQ(r.samples16, (std::vector<int16_t>{5, 6, 7}));
  EXPECT_EQ(r.frames, 3u);
  EXPECT_EQ(r.dataLength, 6u);
}

TEST(SampleReader, ZeroChannelsAndOddChunksInAiff) {
  ByteWriter w = riff();
  fmtChunk(w, 1, 0, 8000, 16);
  dataChunk(w, {5, 6});
  SampleReader reader;
  SampleRecord r;
  ASSERT_EQ(reader.readSampleBytes(w.data(), "s.wav", r), kSampleReadOk);
  EXPECT_EQ(r.frames, 0u);

  // An odd-sized chunk before COMM: found after its pad byte; 1.15 loses it.
  ByteWriter a = form("AIFF");
  a.text("NAME");
  a.u32(5);
  a.text("tone");
  a.u8(0);
  a.u8(0);  // pad
  commChunk(a, 1, 2, 16);
  ssndChunk(a, {-7, 9});
  ASSERT_EQ(reader.readSampleBytes(a.data(), "s.aiff", r), kSampleReadOk);
  EXPECT_EQ(r.samples16, (std::vector<int16_t>{-7, 9}));
  EXPECT_EQ(r.rate, 8000u);
  SampleReader old(SampleReaderProfile::release115());
  EXPECT_EQ(old.readSampleBytes(a.data(), "s.aiff", r), kSampleFormatError);
  EXPECT_EQ(old.lastError(), "Error locating `COMM' chunk!");
}

TEST(SampleReader, AiffMarkersAreTakenInChunkOrder) {
  ByteWriter a = form("AIFF");
  commChunk(a, 1, 4, 16);
  a.text("MARK");
  a.u32(2 + 2 * (2 + 4 + 2) + (2 + 4 + 4));
  a.u16(3);
  // identifier 9, position 3, name "x" (count + text = 2 bytes, no pad)
  a.u16(9);
  a.u32(3);
  a.u8(1);
  a.text("x");
  // identifier 1, position 1, empty name (count only, then a pad byte)
  a.u16(1);
  a.u32(1);
  a.u8(0);
  a.u8(0);
  // a third marker is read and ignored
  a.u16(2);
  a.u32(2);
  a.u8(3);
  a.text("abc");
  ssndChunk(a, {1, 2, 3, 4});
  SampleReader reader;
  SampleRecord r;
  ASSERT_EQ(reader.readSampleBytes(a.data(), "m.aiff", r), kSampleReadOk);
  EXPECT_EQ(r.loopStart, 3);
  EXPECT_EQ(r.loopEnd, 0);
  EXPECT_EQ(r.loopMode, LoopMode::kNone);
}

}  // namespace
}  // namespace convert
