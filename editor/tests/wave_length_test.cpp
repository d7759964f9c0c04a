#include "core/wave_length.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vtq {
namespace {

void put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

void putTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

// A RIFF/WAVE file of `dataBytes` sample bytes at `bytesPerSecond`, with an
// optional odd-sized chunk ahead of "fmt " and a data size that may lie.
std::vector<uint8_t> wave(uint32_t bytesPerSecond, uint32_t dataBytes, uint32_t claimedSize, bool extraChunk) {
  std::vector<uint8_t> out;
  putTag(out, "RIFF");
  put32(out, 0);
  putTag(out, "WAVE");
  if (extraChunk) {
    putTag(out, "LIST");
    put32(out, 3);
    out.insert(out.end(), {1, 2, 3, 0});  // odd body, one pad byte
  }
  putTag(out, "fmt ");
  put32(out, 16);
  out.insert(out.end(), {1, 0, 1, 0});  // PCM, mono
  put32(out, bytesPerSecond / 2);       // sample rate
  put32(out, bytesPerSecond);
  out.insert(out.end(), {2, 0, 16, 0});
  putTag(out, "data");
  put32(out, claimedSize);
  out.resize(out.size() + dataBytes);
  return out;
}

TEST(WaveLength, ReadsTheDataChunkAgainstTheByteRate) {
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    std::string expected;  // the length, or the error
  };
  const std::vector<Case> cases = {
      {"one second at 44100 Hz", wave(88200, 88200, 88200, false), "1000"},
      {"after an odd-sized chunk", wave(96000, 48000, 48000, true), "500"},
      {"partial millisecond rounds up", wave(88200, 2, 2, false), "1"},
      {"data size beyond the file", wave(88200, 8820, 0xFFFFFFF0u, false), "100"},
      {"no format before the data", wave(0, 10, 10, false),
       "at byte 36: no format record with a byte rate before the data"},
      {"not RIFF", std::vector<uint8_t>(64, 0), "at byte 0: not a RIFF/WAVE file"},
      {"header cut short", std::vector<uint8_t>{'R', 'I', 'F', 'F', 0, 0}, "at byte 0: not a RIFF/WAVE file"},
  };
  for (const Case& c : cases) {
    const auto length = waveLengthMs(c.bytes);
    EXPECT_EQ(length ? std::to_string(*length) : length.error().text(), c.expected) << c.name;
  }
}

}  // namespace
}  // namespace vtq
