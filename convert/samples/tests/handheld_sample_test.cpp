// The handheld conversions: 4-bit codes, 8-bit samples, silent runs
// collapsed into marker blocks, and the CRC-32.
#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "convert/samples/handheld_sample_converter.h"
#include "convert/samples/sample_checksum.h"

namespace convert {
namespace {

HandheldSample object(std::vector<int16_t> samples, uint8_t type) {
  HandheldSample s;
  s.header.keyRate = SampleHeader::makeKeyRate(60, 8000);
  s.header.lengthType = SampleHeader::makeLengthType(uint32_t(samples.size()), type);
  s.samples = std::move(samples);
  return s;
}

TEST(HandheldSample, FourBitCodes) {
  struct Case {
    int16_t sample;
    uint8_t code;
  };
  // The top four bits as an unsigned value: 0x8000 -> 0, 0 -> 8, 0x7FFF -> 15.
  for (const Case c : {Case{0, 8}, Case{-32768, 0}, Case{32767, 15}, Case{4096, 9}, Case{4095, 8}, Case{-1, 7},
                       Case{-4096, 7}, Case{-4097, 6}}) {
    EXPECT_EQ(handheldCode(c.sample), c.code) << c.sample;
  }
  // Two a byte, the earlier high; padded with 7 to 32 codes.
  const std::vector<uint8_t> packed = packHandheldCodes({0, -32768, 32767}, 3);
  ASSERT_EQ(packed.size(), 16u);
  EXPECT_EQ(packed[0], 0x80);
  EXPECT_EQ(packed[1], 0xF7);
  for (size_t i = 2; i < 16; ++i) EXPECT_EQ(packed[i], 0x77);
  EXPECT_EQ(packHandheldCodes({}, 0).size(), 0u);
  EXPECT_EQ(packHandheldCodes(std::vector<int16_t>(33, 0), 33).size(), 32u);
}

TEST(HandheldSample, AdvanceEightBit) {
  HandheldSample s = object({0, 255, 256, -1, -255, -256, -257, 32767, -32768}, 0);
  EXPECT_EQ(convertSampleForAdvance(s), 16u + 9);
  // sample / 256 truncated toward zero.
  EXPECT_EQ(s.data, (std::vector<uint8_t>{0, 0, 1, 0, 0, 0xFF, 0xFF, 127, 0x80}));
  EXPECT_EQ(s.formatFlag(), 0);
}

TEST(HandheldSample, AdvanceFourBit) {
  HandheldSample s = object(std::vector<int16_t>(40, 0), 1);
  EXPECT_EQ(convertSampleForAdvance(s), 16u + 32);  // 40 codes padded to 64
  for (size_t i = 0; i < 20; ++i) EXPECT_EQ(s.data[i], 0x88);
  for (size_t i = 20; i < 32; ++i) EXPECT_EQ(s.data[i], 0x77);
  EXPECT_EQ(s.formatFlag(), 1);
}

std::vector<uint8_t> silentBlock() { return std::vector<uint8_t>(16, 0x88); }
std::vector<uint8_t> marker(uint8_t count) {
  std::vector<uint8_t> b(16, 0x88);
  b[0] = 0x78;
  b[1] = count;
  return b;
}
std::vector<uint8_t> soundBlock(uint8_t first) {
  std::vector<uint8_t> b(16, 0x9A);
  b[0] = first;
  return b;
}
std::vector<uint8_t> join(std::initializer_list<std::vector<uint8_t>> blocks) {
  std::vector<uint8_t> out;
  for (const auto& b : blocks) out.insert(out.end(), b.begin(), b.end());
  return out;
}
std::vector<uint8_t> repeat(const std::vector<uint8_t>& block, size_t n) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i < n; ++i) out.insert(out.end(), block.begin(), block.end());
  return out;
}

TEST(HandheldSample, CollapsingSilentRuns) {
  const auto S = silentBlock();
  const auto A = soundBlock(0x9A), B = soundBlock(0x12);
  struct Case {
    const char* what;
    std::vector<uint8_t> in, out;
  };
  const Case table[] = {
      {"no pair: unchanged", join({A, S, B, S}), join({A, S, B, S})},
      {"10 silent blocks", repeat(S, 10), marker(9)},
      {"300 silent blocks", repeat(S, 300), join({marker(254), marker(44)})},
      {"256 silent blocks", repeat(S, 256), join({marker(254), marker(0)})},
      {"runs inside", join({A, S, S, S, B, S, A}), join({A, marker(2), B, S, A})},
      {"last block kept", join({S, S, A}), join({marker(1), A})},
      {"run at the end", join({A, S, S}), join({A, marker(1)})},
      // A block whose first byte has low nibble 8 and the rest 0x88 is silent.
      {"silent with another high nibble", join({A, soundBlock(0x38), S}), join({A, soundBlock(0x38), S})},
  };
  for (const Case& c : table) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(collapseSilentBlocks(c.in), c.out);
  }
  std::vector<uint8_t> odd = repeat(S, 2);
  odd[16] = 0x38;  // low nibble 8, rest 0x88: silent too
  EXPECT_EQ(collapseSilentBlocks(odd), marker(1));
}

TEST(HandheldSample, GameBoy) {
  // Ten silent blocks of 32 samples collapse into one marker block.
  HandheldSample silent = object(std::vector<int16_t>(320, 0), 0);
  EXPECT_EQ(convertSampleForGameBoy(silent), 16u + 16);
  EXPECT_EQ(silent.data, marker(9));
  EXPECT_EQ(silent.checksum, sampleChecksum(marker(9)));

  // First bytes 0x7n become 0x8n when there is more than one block: a block
  // that starts with codes 7, 8 (samples -1, 0).
  std::vector<int16_t> samples(64, 4096);  // code 9
  samples[0] = -1;
  samples[1] = 0;
  HandheldSample escaped = object(samples, 0);
  EXPECT_EQ(convertSampleForGameBoy(escaped), 16u + 32);
  EXPECT_EQ(escaped.data[0], 0x88);
  EXPECT_EQ(escaped.data[1], 0x99);
  // A single block keeps its 0x78.
  HandheldSample single = object({-1, 0}, 0);
  convertSampleForGameBoy(single);
  EXPECT_EQ(single.data[0], 0x78);
  EXPECT_EQ(single.data[1], 0x77);
}

TEST(SampleChecksum, Crc32CheckValues) {
  const std::string_view check = "123456789";
  EXPECT_EQ(sampleChecksum({reinterpret_cast<const uint8_t*>(check.data()), check.size()}), 0xCBF43926u);
  EXPECT_EQ(sampleChecksum({}), 0u);
  const std::vector<uint8_t> zeros(32, 0);
  EXPECT_EQ(sampleChecksum(zeros), 0x190A55ADu);
}

}  // namespace
}  // namespace convert
