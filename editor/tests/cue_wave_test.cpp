// Packets and cue wave files. The expected nibbles are the worked examples of
// the transmission format; the expected samples are built here from those
// nibbles, the two pulse tables and the timing rules (10 ms lead-in, 50 ms
// between repeats, 118 or 120 samples a bit).
#include <gtest/gtest.h>

#include <filesystem>

#include "common/byte_order.h"
#include "common/testing/cli_run.h"
#include "core/command.h"
#include "core/command_codes.h"
#include "core/document.h"
#include "core/packet_encoder.h"
#include "core/wave_file.h"

using namespace vtq;
using testing_support::TempDir;

namespace {

// The pulse tables as the toy's receiver documents them.
const std::vector<int16_t> kPulseA = {
    0,     32,    75,    -199,   -524,   98,    1344,  891,   -1882,  -3023,  939,   5546,  2491,  -6520,  -8071,
    3645,  13404, 4021,  -14676, -14521, 8821,  23050, 3972,  -24169, -19266, 15161, 30055, 1656,  -30517, -19485,
    19553, 30487, -1739, -30072, -15093, 19318, 24135, -4036, -23054, -8770,  14551, 14649, -4058, -13401, -3615,
    8083,  6504,  -2506, -5542,  -927,   3025,  1876,  -895,  -1342,  -95,    524,   198,   -75,   -32};
const std::vector<int16_t> kPulseB = {
    0,      26,     82,     -101,  -479,  -294,   808,    1486,   0,     -2640, -2586,  1754,   5639,   2612,  -5759,
    -8856,  0,      11823,  10279, -6252, -18178, -7665,  15458,  21845, 0,     -24888, -20073, 11353,  30752, 12100,
    -22806, -30153, 0,      30153, 22806, -12100, -30752, -11353, 20073, 24888, 0,      -21845, -15458, 7665,  18178,
    6252,   -10279, -11823, 0,     8856,  5759,   -2612,  -5639,  -1754, 2586,  2640,   0,      -1486,  -808,  294};

std::vector<uint8_t> nibblesOf(const std::string& hex) {
  std::vector<uint8_t> nibbles;
  for (char c : hex) {
    if (c == ' ') continue;
    nibbles.push_back(uint8_t(c <= '9' ? c - '0' : c - 'A' + 10));
  }
  return nibbles;
}

std::vector<int16_t> expectedSamples(const std::string& packetHex, int rate, int retransmissions) {
  const std::vector<int16_t>& pulse = rate == 44100 ? kPulseA : kPulseB;
  const size_t bitLength = 2 * pulse.size();
  std::vector<int16_t> packet;
  for (uint8_t nibble : nibblesOf(packetHex)) {
    for (int bit = 3; bit >= 0; --bit) {
      const size_t start = packet.size();
      packet.resize(start + bitLength, 0);
      if ((nibble >> bit) & 1) std::copy(pulse.begin(), pulse.end(), packet.begin() + std::ptrdiff_t(start));
    }
  }
  std::vector<int16_t> samples(size_t(rate / 100), 0);  // 10 ms
  samples.insert(samples.end(), packet.begin(), packet.end());
  for (int i = 0; i < retransmissions; ++i) {
    samples.resize(samples.size() + size_t(rate / 20), 0);  // 50 ms
    samples.insert(samples.end(), packet.begin(), packet.end());
  }
  return samples;
}

struct WaveContents {
  std::vector<uint8_t> header;
  std::vector<int16_t> samples;
};

WaveContents readWave(const std::filesystem::path& path) {
  const std::vector<uint8_t> bytes = testing_support::readFileBytes(path);
  WaveContents wave;
  if (bytes.size() < 44) return wave;
  wave.header.assign(bytes.begin(), bytes.begin() + 44);
  for (size_t i = 44; i + 1 < bytes.size(); i += 2)
    wave.samples.push_back(int16_t(common::loadU16(&bytes[i], common::Endian::Little)));
  return wave;
}

// The 44-byte header of a mono 16-bit file, written out field by field.
std::vector<uint8_t> expectedHeader(uint32_t rate, uint32_t dataBytes) {
  common::ByteWriter w(common::Endian::Little);
  w.text("RIFF");
  w.u32(36 + dataBytes);
  w.text("WAVEfmt ");
  w.u32(16);
  w.u16(1);
  w.u16(1);
  w.u32(rate);
  w.u32(rate * 2);
  w.u16(2);
  w.u16(16);
  w.text("data");
  w.u32(dataBytes);
  return w.take();
}

struct CueCase {
  const char* what;
  uint8_t code;
  uint16_t value;    // ability, sound or picture id
  int delaySeconds;  // < 0: not timed
  const char* nibbles;
  const char* byteCodeText;
};

std::unique_ptr<CCommand> makeCommand(const CueCase& c, CQuorlinVTQEditorDoc& document) {
  auto command = std::make_unique<CCommand>(&document);
  command->SetCommand(c.code);
  if (c.code == kPlaySound) static_cast<CPlaySound&>(command->param()).soundId = c.value;
  if (c.code == kEnableAbility) static_cast<CAbility&>(command->param()).abilityId = uint8_t(c.value);
  if (c.code == kShowAnimation) static_cast<CAnimation&>(command->param()).pictureId = c.value;
  command->MoveStart(CSMPTETime(0, 1, 2, 3));
  if (c.delaySeconds >= 0) {
    command->SetTimed(true);
    EXPECT_TRUE(
        command->SetResponseTime(CSMPTETime(uint32_t(command->insertTime().frameCount() + c.delaySeconds * 25))));
  }
  return command;
}

const CueCase kCueCases[] = {
    {"KEEP_ALIVE", kKeepAlive, 0, -1, "AAA2A8 10D 10D 3A", "0x10"},
    {"PLAY_SOUND 5", kPlaySound, 5, -1, "AAA2AF 10D 222 05F 2 000 55", "0x220500"},
    {"ENABLE_ABILITY 3 after 255 s", kEnableAbility, 3, 255, "AAA2AF 902 71D 035 2 FF6 1D", "0x7103"},
};

}  // namespace

TEST(PacketEncoder, WorkedExamplesNibbleForNibble) {
  TempDir dir;
  CQuorlinVTQEditorDoc document;
  for (const CueCase& c : kCueCases) {
    const auto command = makeCommand(c, document);
    CommandBytes bytes;
    const int count = command->dataBytes(bytes);
    EXPECT_EQ(CPacketEncoder::packetNibbles(0, std::span<const uint8_t>(bytes.data(), size_t(count)),
                                            command->isTimed(), command->durationByte()),
              nibblesOf(c.nibbles))
        << c.what;
  }
}

TEST(PacketEncoder, TimedAnimationHasSixWordsAndOneSeparator) {
  // Words 0x90 (0x10 | 0x80 for timed), 0x53, mode, picture high, picture
  // low, delay: k = 6, f = 1, g = 3 * 6 + 1 + 2 = 21 = 0x15.
  const uint8_t data[] = {0x53, 0x20, 0x16, 0x07};
  const auto nibbles = CPacketEncoder::packetNibbles(0, data, true, 10);
  ASSERT_EQ(nibbles.size(), 6u + 21u);
  EXPECT_EQ(nibbles[4], 0xB);  // 0xA0 | 21 = 0xB5
  EXPECT_EQ(nibbles[5], 0x5);
  // Header, code and mode take 3 nibbles each; the separator comes before word 3.
  EXPECT_EQ(nibbles[6 + 9], 0x2);
  EXPECT_EQ(nibbles[6 + 10], 0x1);  // high nibble of 0x16
  EXPECT_EQ(nibbles[6], 0x9);       // header 0x90
}

TEST(PacketEncoder, CheckNibblesAndSeparatorCounts) {
  // Parities worked out by hand: 0x10 -> 1101, 0x22 -> 0010, 0x05 -> 1111, 0x00 -> 0000.
  EXPECT_EQ(CPacketEncoder::checkNibble(0x10), 0xD);
  EXPECT_EQ(CPacketEncoder::checkNibble(0x22), 0x2);
  EXPECT_EQ(CPacketEncoder::checkNibble(0x05), 0xF);
  EXPECT_EQ(CPacketEncoder::checkNibble(0x00), 0x0);
  EXPECT_EQ(CPacketEncoder::checkNibble(0xFF), 0x6);  // 6, 5, 5 and 6 bits set
  const std::pair<size_t, int> counts[] = {{2, 0},  {3, 0},  {4, 1},  {6, 1},  {7, 2},  {9, 2},
                                           {10, 3}, {12, 3}, {13, 4}, {15, 4}, {16, 5}, {40, 5}};
  for (const auto& [k, f] : counts) EXPECT_EQ(CPacketEncoder::separatorCount(k), f) << k;
  // With many words no more than five separators are placed.
  const std::vector<uint8_t> data(18, 0);
  EXPECT_EQ(CPacketEncoder::packetNibbles(0, data, false, 0).size(), 6u + 3 * 19 + 5 + 2);
}

TEST(CueWave, SamplesAndSizesAtBothRatesWithRetransmissions) {
  for (const int rate : {44100, 48000}) {
    for (const int retransmissions : {0, 2, 15}) {
      for (const CueCase& c : kCueCases) {
        TempDir dir;
        CQuorlinVTQEditorDoc document;
        DocumentError error;
        ASSERT_TRUE(document.newDocument(dir / "scene.qtd", error));
        document.setSampleRate(rate);
        auto command = makeCommand(c, document);
        command->setRetransmissions(uint8_t(retransmissions));
        std::string waveError;
        ASSERT_TRUE(command->MakeWave(waveError)) << waveError;
        EXPECT_EQ(command->fileName(), "scene00010203.wav");
        EXPECT_EQ(command->byteCodeText(), c.byteCodeText);

        const auto expected = expectedSamples(c.nibbles, rate, retransmissions);
        const WaveContents wave = readWave(dir / "scene00010203.wav");
        EXPECT_EQ(wave.header, expectedHeader(uint32_t(rate), uint32_t(2 * expected.size())))
            << c.what << " at " << rate;
        EXPECT_EQ(wave.samples == expected, true) << c.what << " at " << rate << " with " << retransmissions;
      }
    }
  }
}

TEST(CueWave, KeepAliveFileSizesWorkedByHand) {
  // 441 silent samples and 56 bits of 118 samples: 44 + 2 * (441 + 6608) bytes;
  // two repeats add 2 * (2205 + 6608) samples each.
  const std::tuple<int, int, uintmax_t> cases[] = {
      {44100, 0, 44 + 2 * (441 + 6608)},
      {44100, 2, 44 + 2 * (441 + 6608 + 2 * (2205 + 6608))},
      {48000, 0, 44 + 2 * (480 + 56 * 120)},
      {48000, 1, 44 + 2 * (480 + 56 * 120 + 2400 + 56 * 120)},
  };
  for (const auto& [rate, repeats, size] : cases) {
    TempDir dir;
    CQuorlinVTQEditorDoc document;
    DocumentError error;
    ASSERT_TRUE(document.newDocument(dir / "cue.take2.qtd", error));
    document.setSampleRate(rate);
    CCommand command(&document);
    command.setRetransmissions(uint8_t(repeats));
    std::string waveError;
    ASSERT_TRUE(command.MakeWave(waveError));
    EXPECT_EQ(command.fileName(), "cue00000000.wav");  // the title up to its first dot
    EXPECT_EQ(std::filesystem::file_size(dir / "cue00000000.wav"), size) << rate << " " << repeats;
  }
}

TEST(CueWave, RemakingWritesTheSameFileAndAMovedCommandANewOne) {
  TempDir dir;
  CQuorlinVTQEditorDoc document;
  DocumentError error;
  ASSERT_TRUE(document.newDocument(dir / "scene.qtd", error));
  CCommand command(&document);
  command.MoveStart(CSMPTETime(0, 0, 10, 0));
  std::string waveError;
  ASSERT_TRUE(command.MakeWave(waveError));
  const auto first = dir.readBytes("scene00001000.wav");
  ASSERT_TRUE(command.MakeWave(waveError));
  EXPECT_EQ(dir.readBytes("scene00001000.wav"), first);
  command.MoveStart(CSMPTETime(0, 0, 11, 0));
  ASSERT_TRUE(command.MakeWave(waveError));
  EXPECT_EQ(command.fileName(), "scene00001100.wav");
  EXPECT_TRUE(dir.exists("scene00001000.wav"));
  EXPECT_EQ(dir.files(), (std::vector<std::string>{"scene.qtd", "scene00001000.wav", "scene00001100.wav"}));
}

TEST(CueWave, AFileThatCannotBeCreatedIsReportedAndChangesNothing) {
  TempDir dir;
  CQuorlinVTQEditorDoc document;
  DocumentError error;
  ASSERT_TRUE(document.newDocument(dir / "scene.qtd", error));
  CCommand command(&document);
  command.setLoadedFields(CSMPTETime(250), CSMPTETime(250), 0, 0, kKeepAlive, "old.wav", "0x10");
  // A folder where the wave file should go.
  std::filesystem::create_directory(dir / "scene00001000.wav");
  std::string waveError;
  EXPECT_FALSE(command.MakeWave(waveError));
  EXPECT_NE(waveError.find("scene00001000.wav"), std::string::npos) << waveError;
  EXPECT_EQ(command.fileName(), "old.wav");
  EXPECT_EQ(command.byteCodeText(), "0x10");

  // A rate without a pulse would give a file without a transmission.
  std::filesystem::remove(dir / "scene00001000.wav");
  document.setSampleRate(22050);
  EXPECT_FALSE(command.MakeWave(waveError));
  EXPECT_NE(waveError.find("22050"), std::string::npos) << waveError;
  EXPECT_FALSE(dir.exists("scene00001000.wav"));
}

TEST(WaveFile, RefusesFormatsItCannotWriteAndWritesEightBitSamples) {
  TempDir dir;
  CWaveFile wave;
  EXPECT_EQ(wave.openForWrite(dir / "a.wav", 8000, 24, 1), CWaveFile::kWrongState);
  EXPECT_EQ(wave.openForWrite(dir / "a.wav", 8000, 16, 3), CWaveFile::kWrongState);
  EXPECT_EQ(wave.writeSample(1), CWaveFile::kWrongState);
  EXPECT_EQ(wave.close(), CWaveFile::kWrongState);
  EXPECT_FALSE(dir.exists("a.wav"));
  ASSERT_EQ(wave.openForWrite(dir / "a.wav", 8000, 8, 2), CWaveFile::kOk);
  EXPECT_EQ(wave.writeSample(0x80), CWaveFile::kOk);
  EXPECT_EQ(wave.writeSample(0x7F), CWaveFile::kOk);
  EXPECT_EQ(wave.close(), CWaveFile::kOk);
  const auto bytes = dir.readBytes("a.wav");
  ASSERT_EQ(bytes.size(), 46u);
  EXPECT_EQ(common::loadU32(&bytes[4], common::Endian::Little), 38u);
  EXPECT_EQ(common::loadU16(&bytes[22], common::Endian::Little), 2u);      // channels
  EXPECT_EQ(common::loadU32(&bytes[28], common::Endian::Little), 16000u);  // bytes per second
  EXPECT_EQ(common::loadU16(&bytes[32], common::Endian::Little), 2u);      // block align
  EXPECT_EQ(common::loadU16(&bytes[34], common::Endian::Little), 8u);
  EXPECT_EQ(common::loadU32(&bytes[40], common::Endian::Little), 2u);
  EXPECT_EQ(bytes[44], 0x80);
  EXPECT_EQ(bytes[45], 0x7F);
}
