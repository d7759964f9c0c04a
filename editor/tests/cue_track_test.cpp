// vtqedit --render and --check, run as a program in a temporary folder. The
// expected tracks are summed here from the commands' own wave files; mixes are
// changed here by hand (a cue or one pulse taken out, a shift) or by sox
// (resampling, level, sample format, channels).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "common/byte_order.h"
#include "common/testing/cli_run.h"

using testing_support::CliResult;
using testing_support::runProgram;
using testing_support::TempDir;

namespace {

using Args = std::vector<std::string>;
using Bytes = std::vector<uint8_t>;
using Samples = std::vector<int16_t>;
using common::Endian;

const char* const kSox = "/usr/bin/sox";

CliResult vtqedit(const TempDir& dir, const Args& args) { return runProgram(VTQEDIT_EXE, args, dir.path()); }

void add(const TempDir& dir, const std::string& document, Args args) {
  args.insert(args.begin(), {"--add", document, "--ignore-conflict"});
  const CliResult r = vtqedit(dir, args);
  ASSERT_EQ(r.exitCode, 0) << r.err;
}

void sox(const TempDir& dir, const Args& args) {
  const CliResult r = runProgram(kSox, args, dir.path());
  ASSERT_EQ(r.exitCode, 0) << r.err;
}

// The samples of a 16-bit mono wave file with the 44-byte header.
Samples samplesOf(const Bytes& file) {
  Samples samples;
  if (file.size() < 44) return samples;
  const uint32_t size = common::loadU32(&file[40], Endian::Little);
  for (size_t at = 44; at + 1 < file.size() && at < 44 + size_t(size); at += 2)
    samples.push_back(int16_t(common::loadU16(&file[at], Endian::Little)));
  return samples;
}

Bytes waveOf(const Samples& samples, uint32_t rate) {
  common::ByteWriter w(Endian::Little);
  w.text("RIFF");
  w.u32(uint32_t(36 + 2 * samples.size()));
  w.text("WAVEfmt ");
  w.u32(16);
  w.u16(1);
  w.u16(1);
  w.u32(rate);
  w.u32(rate * 2);
  w.u16(2);
  w.u16(16);
  w.text("data");
  w.u32(uint32_t(2 * samples.size()));
  for (int16_t s : samples) w.s16(s);
  return w.take();
}

// Adds `cue` at `offset` samples, clipping to 16 bits.
void mixInto(Samples& track, const Samples& cue, size_t offset) {
  if (track.size() < offset + cue.size()) track.resize(offset + cue.size(), 0);
  for (size_t i = 0; i < cue.size(); ++i)
    track[offset + i] = int16_t(std::clamp(int32_t(track[offset + i]) + cue[i], -32768, 32767));
}

}  // namespace

TEST(CueTrack, IsTheSumOfTheCommandsWaveFilesAtTheirTimes) {
  struct Cue {
    Args add;
    const char* waveFile;  // empty: left out of the track
    uint32_t frames;       // insert time in frames after the track's start
  };
  struct Case {
    const char* rate;
    std::vector<Cue> cues;
    Args options;
    int exitCode;
    const char* notePart;
  };
  const Case cases[] = {
      {"44100",
       {{{"--at", "00:00:01:00", "--command", "KEEP_ALIVE", "--repeat", "2"}, "scene00000100.wav", 25},
        {{"--at", "00:00:02:10", "--command", "PLAY_SOUND", "--param", "SFX_Honk", "--respond", "00:00:09:10"},
         "scene00000210.wav",
         60}},
       {},
       0,
       ""},
      // A command before --start is left out; two transmissions overlap.
      {"48000",
       {{{"--at", "00:00:00:10", "--command", "STOP_ABILITY"}, "", 0},
        {{"--at", "01:00:01:00", "--command", "SHOW_ANIMATION", "--param", "4660", "--repeat", "3"},
         "scene01000100.wav",
         25},
        {{"--at", "01:00:01:07", "--command", "ENABLE_ABILITY", "--param", "AB_SHIELD"}, "scene01000107.wav", 32}},
       {"--start", "01:00:00:00"},
       3,
       "01:00:01:00 SHOW_ANIMATION and 01:00:01:07 ENABLE_ABILITY overlap"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    for (size_t i = 0; i < c.cues.size(); ++i) {
      Args args = c.cues[i].add;
      if (i == 0) args.insert(args.end(), {"--rate", c.rate});
      add(dir, "scene.qtd", args);
    }
    Samples expected;
    const uint32_t rate = uint32_t(std::stoul(c.rate));
    for (const Cue& cue : c.cues) {
      if (*cue.waveFile == '\0') continue;
      mixInto(expected, samplesOf(dir.readBytes(cue.waveFile)), cue.frames * rate / 25);
      std::filesystem::remove(dir / cue.waveFile);  // the track is made from the commands, not these files
    }
    Args args = {"--render", "scene.qtd", "track.wav"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const CliResult r = vtqedit(dir, args);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.rate << ": " << r.err;
    EXPECT_NE(r.err.find(c.notePart), std::string::npos) << r.err;
    EXPECT_EQ(dir.readBytes("track.wav"), waveOf(expected, rate)) << c.rate;
  }
}

TEST(CueTrack, ATrackOnStandardOutputGetsItsSummaryOnStandardError) {
  TempDir dir;
  add(dir, "scene.qtd", {"--at", "00:00:01:00", "--command", "KEEP_ALIVE"});
  const CliResult toFile = vtqedit(dir, {"--render", "scene.qtd", "track.wav"});
  ASSERT_EQ(toFile.exitCode, 0) << toFile.err;
  const CliResult r = vtqedit(dir, {"--render", "scene.qtd", "/dev/stdout"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  const std::vector<uint8_t> track = dir.readBytes("track.wav");
  EXPECT_TRUE(r.out == std::string(track.begin(), track.end())) << r.out.size() << " bytes, not " << track.size();
  EXPECT_NE(r.err.find(" transmissions, "), std::string::npos) << r.err;
}

TEST(CueTrack, LengthCutsAndRefusesWhatAWaveFileCannotHold) {
  TempDir dir;
  add(dir, "scene.qtd", {"--at", "00:00:01:00", "--command", "KEEP_ALIVE"});
  const Samples cue = samplesOf(dir.readBytes("scene00000100.wav"));
  CliResult r = vtqedit(dir, {"--render", "scene.qtd", "cut.wav", "--length", "00:00:01:02"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("00:00:01:00 KEEP_ALIVE is cut"), std::string::npos) << r.err;
  Samples expected(44100 + 2 * 1764, 0);
  std::copy_n(cue.begin(), 2 * 1764, expected.begin() + 44100);
  EXPECT_EQ(samplesOf(dir.readBytes("cut.wav")), expected);

  // 23 hours at 44100 Hz are 7.3 GB of samples.
  add(dir, "scene.qtd", {"--at", "23:00:00:00", "--command", "KEEP_ALIVE"});
  r = vtqedit(dir, {"--render", "scene.qtd", "long.wav"});
  EXPECT_EQ(r.exitCode, 4);
  EXPECT_NE(r.err.find("4 GiB"), std::string::npos) << r.err;
  EXPECT_FALSE(dir.exists("long.wav"));
}

namespace {

// A document of three commands at 44100 Hz, its track, and a second document
// with one more command.
class CueCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    add(dir, "scene.qtd", {"--at", "00:00:01:00", "--command", "KEEP_ALIVE"});
    add(dir, "scene.qtd", {"--at", "00:00:03:00", "--command", "PLAY_SOUND", "--param", "31", "--repeat", "1"});
    add(dir, "scene.qtd",
        {"--at", "00:00:05:00", "--command", "ENABLE_ABILITY", "--param", "3", "--respond", "00:00:20:00"});
    add(dir, "extra.qtd", {"--at", "00:00:07:00", "--command", "STOP_ABILITY"});
    const CliResult r = vtqedit(dir, {"--render", "scene.qtd", "track.wav", "--length", "00:00:08:00"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    track = samplesOf(dir.readBytes("track.wav"));
  }

  CliResult check(const Samples& mix, const Args& options = {}) {
    dir.write("mix.wav", waveOf(mix, 44100));
    Args args = {"--check", "scene.qtd", "mix.wav"};
    args.insert(args.end(), options.begin(), options.end());
    return vtqedit(dir, args);
  }

  TempDir dir;
  Samples track;
};

constexpr size_t kSecond = 44100, kLead = 441, kBit = 118;

}  // namespace

TEST_F(CueCheck, ReportsEveryCommandAndWhatNoCommandExplains) {
  const std::string honk = "00:00:03:00 0x221F00 found 00:00:03:00 +0 margin 40 dB\n";
  const std::string shield = "00:00:05:00 0x7103 found 00:00:05:00 +0 margin 40 dB\n";
  const std::string intact = "00:00:01:00 0x10 found 00:00:01:00 +0 margin 40 dB\n" + honk + shield;
  struct Case {
    const char* name;
    std::function<void(Samples&)> change;
    std::string out;
    int exitCode;
  };
  // Bit numbers within KEEP_ALIVE's packet A A A 2 A 8 1 0 D 1 0 D 3 A; each is a 1 bit.
  auto removePulse = [](size_t bit) {
    return [bit](Samples& s) { std::fill_n(s.begin() + std::ptrdiff_t(kSecond + kLead + bit * kBit), kBit / 2, 0); };
  };
  const std::string tail = "1 damaged, 0 missing; unexpected transmissions: 0\n";
  const Case cases[] = {
      {"intact", [](Samples&) {},
       intact + "3 commands: 3 found on time, 0 found off time, 0 damaged, 0 missing; unexpected transmissions: 0\n",
       0},
      {"cue removed", [](Samples& s) { std::fill_n(s.begin() + kSecond, kSecond, 0); },
       "00:00:01:00 0x10 missing\n" + honk + shield +
           "3 commands: 2 found on time, 0 found off time, 0 damaged, 1 missing; unexpected transmissions: 0\n",
       6},
      {"sync pulse removed", removePulse(2),
       "00:00:01:00 0x10 damaged header\n" + honk + shield + "3 commands: 2 found on time, 0 found off time, " + tail,
       6},
      {"length pulse removed", removePulse(20),
       "00:00:01:00 0x10 damaged length\n" + honk + shield + "3 commands: 2 found on time, 0 found off time, " + tail,
       6},
      {"header word pulse removed", removePulse(27),
       "00:00:01:00 0x10 damaged parity\n" + honk + shield + "3 commands: 2 found on time, 0 found off time, " + tail,
       6},
      {"checksum pulse removed", removePulse(50),
       "00:00:01:00 0x10 damaged checksum\n" + honk + shield + "3 commands: 2 found on time, 0 found off time, " + tail,
       6},
      {"shifted by two frames", [](Samples& s) { s.insert(s.begin(), 2 * kSecond / 25, 0); },
       "00:00:01:00 0x10 found 00:00:01:02 +2 margin 40 dB\n00:00:03:00 0x221F00 found 00:00:03:02 +2 margin 40 dB\n"
       "00:00:05:00 0x7103 found 00:00:05:02 +2 margin 40 dB\n"
       "3 commands: 0 found on time, 3 found off time, 0 damaged, 0 missing; unexpected transmissions: 0\n",
       6},
      {"cue not in the document",
       [this](Samples& s) { mixInto(s, samplesOf(dir.readBytes("extra00000700.wav")), 7 * kSecond); },
       intact + "00:00:07:00 0xF0 unexpected\n"
                "3 commands: 3 found on time, 0 found off time, 0 damaged, 0 missing; unexpected transmissions: 1\n",
       6},
  };
  for (const Case& c : cases) {
    Samples mix = track;
    c.change(mix);
    const CliResult r = check(mix);
    EXPECT_EQ(r.out, c.out) << c.name;
    EXPECT_EQ(r.exitCode, c.exitCode) << c.name << ": " << r.err;
  }
}

TEST_F(CueCheck, ReadsMixesResampledAttenuatedOrInOtherFormats) {
  struct Case {
    Args format, effects;  // sox's output format and effects on the track
    Args options;
    int exitCode;
  };
  const Case cases[] = {
      {{"-r", "48000"}, {}, {}, 0},
      {{}, {"vol", "-20dB"}, {}, 0},
      {{"-b", "24", "-c", "2"}, {}, {}, 0},  // 24-bit stereo, written as WAVE_FORMAT_EXTENSIBLE
      {{}, {"remix", "0", "1"}, {"--channel", "2"}, 0},
      {{}, {"remix", "0", "1"}, {"--channel", "1"}, 6},
  };
  if (!std::filesystem::exists(kSox)) GTEST_SKIP() << "sox is not installed";
  for (const Case& c : cases) {
    Args args = {"track.wav"};
    args.insert(args.end(), c.format.begin(), c.format.end());
    args.push_back("mix.wav");
    args.insert(args.end(), c.effects.begin(), c.effects.end());
    sox(dir, args);
    Args check = {"--check", "scene.qtd", "mix.wav"};
    check.insert(check.end(), c.options.begin(), c.options.end());
    const CliResult r = vtqedit(dir, check);
    EXPECT_EQ(r.exitCode, c.exitCode) << args.back() << ": " << r.err << r.out;
  }
}

TEST_F(CueCheck, RefusesWhatItCannotRead) {
  struct Case {
    Bytes mix;
    Args options;
    int exitCode;
    const char* messagePart;
  };
  Bytes rf64 = waveOf(track, 44100);
  std::copy_n("RF64", 4, rf64.begin());
  Bytes float32 = waveOf({}, 44100);
  float32[20] = 3;
  float32[34] = 32;
  float32[32] = 4;
  const Case cases[] = {
      {rf64, {}, 4, "RF64 wave files are not supported"},
      {float32, {}, 4, "float samples are not supported"},
      {Bytes(float32.begin(), float32.begin() + 30), {}, 4, "mix.wav: at byte 30: the file ends in its fmt chunk"},
      {waveOf(track, 22050), {}, 4, "22050 Hz"},
      {waveOf(track, 44100), {"--channel", "2"}, 2, "mix.wav has 1 channels"},
  };
  for (const Case& c : cases) {
    dir.write("mix.wav", c.mix);
    Args args = {"--check", "scene.qtd", "mix.wav"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const CliResult r = vtqedit(dir, args);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.messagePart;
    EXPECT_NE(r.err.find(c.messagePart), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
  }
}
