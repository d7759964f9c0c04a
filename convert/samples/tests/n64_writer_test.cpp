// voconv converting a small project of two export scripts for the Nintendo
// 64 (little- and big-endian) and for the default target. Project and pool
// bytes are written out below from the file layouts; the sample files are
// checked by decoding.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <string>
#include <vector>

#include "adpcm_decoder.h"
#include "common/byte_order.h"
#include "common/testing/cli_run.h"

namespace {

using common::Endian;
using testing_support::CliResult;
using testing_support::TempDir;

const std::filesystem::path kFixtures(SAMPLE_FIXTURES);

std::vector<uint8_t> fileBytes(const std::filesystem::path& p) { return testing_support::readFileBytes(p); }

// A mid2trk stand-in that writes the song file it is asked for, beside a copy
// of voconv (the real mid2trk sits beside the built one).
std::string fakeSongTool(const TempDir& dir) {
  dir.write("bin/mid2trk", "#!/bin/sh\nfor last; do :; done\necho song > \"$last\"\nexit 0\n");
  ::chmod((dir / "bin/mid2trk").c_str(), 0755);
  std::filesystem::copy_file(VOCONV_EXE, dir / "bin/voconv");
  return "PATH=" + (dir / "bin").string() + ":/usr/bin:/bin";
}

std::vector<uint8_t> kalpFile(const std::vector<int16_t>& samples) {
  common::ByteWriter w(Endian::Little);
  for (char c : {'K', 'A', 'L', 'P'}) w.u8(uint8_t(c));
  w.u16(0);
  w.u16(1);      // version
  w.u16(0);      // coding
  w.u16(16);     // bits
  w.u16(72);     // root key
  w.u16(1);      // channels
  w.u32(16000);  // rate
  w.u32(0);
  w.u32(uint32_t(samples.size()));
  w.zeros(16);
  for (int16_t s : samples) w.s16(s);
  return w.take();
}

std::vector<int16_t> chime() {
  std::vector<int16_t> v;
  for (int i = 0; i < 40; ++i) v.push_back(int16_t(std::lround(9000 * std::sin(i * 0.3))));
  return v;
}

class N64Project : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.write("macrodef.vqd",
               "[Soundmacro.Commanddef]\nSystem=N64\n[$01]\nName=PLAY_SAMPLE\nValue = 16bit@byte2, Reference=Sample\n"
               "[$02]\nName=ENVELOPE\nValue = 16bit@byte2, Reference=Table\n");
    dir_.write(
        "s1.txt",
        "[Samples]\n1,samples/loop.wav,0\n2,samples/tone.aiff,1\n3,samples/chime.kalp,2\n"
        "[Soundmacros]\n1,m1.mac\n[Keymaps]\n1,km.bin\n[Layers]\n1,ly.bin\n[Tables]\n1,t.tab\n"
        "[Songgroup]\nName=Music\nSoundmacro=1\nSample=1\nSample=2\nTable=1\nKeymap=1\nLayer=1\n"
        "NormPageEntry=0,1,9,2,0\nMidiSetup\n{\nName=intro\nFilename=intro.mid\nChannelsetup=1,5,100,64,10,20\n}\n");
    dir_.write("s2.txt", "[Samples]\n1,samples/chime.kalp,0\n[Soundmacros]\n1,m2.mac\n"
                         "[SFXgroup]\nName=Effects\nSFXEntry=0,1,3,2,100,64,60,Boom\nSFXEntry=0,1,1,1,90,32,62,\n"
                         "Soundmacro=1\nSample=1\n");
    dir_.write("d.txt", "[Project]\nMusic\nEffects\n[Pool]\nMusic\nEffects\n[Samples]\nMusic\nEffects\n"
                        "[Name]\ngame\n[OutputDirectory]\nout\n[Include]\nsound.h\n");
    // Step 0 plays sample 1, step 1 sets table 1, step 2 ends.
    dir_.write("m1.mac", std::vector<uint8_t>{1, 0, 1, 0, 0, 0, 0, 0, 2, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    // Sample 1 of the second script, renumbered to 4; a last partial word.
    dir_.write("m2.mac", std::vector<uint8_t>{1, 0, 1, 0, 0, 0, 0, 0, 0, 0});
    std::vector<uint8_t> keymap(1024, 0);
    keymap[0] = 1;
    keymap[2] = 0x11;
    keymap[3] = 0x22;
    keymap[4] = 0x34;
    keymap[5] = 0x12;
    keymap[6] = 0xAA;
    dir_.write("km.bin", keymap);
    dir_.write("ly.bin", std::vector<uint8_t>{1, 0, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x34, 0x12});
    dir_.write("t.tab", std::vector<uint8_t>{0x10, 0, 0x20, 0, 0x30, 0, 0x40, 0});
    dir_.write("samples/loop.wav", fileBytes(kFixtures / "py_loop_count3.wav"));
    dir_.write("samples/tone.aiff", fileBytes(kFixtures / "py_ramp16.aiff"));
    dir_.write("samples/chime.kalp", kalpFile(chime()));
    std::filesystem::create_directory(dir_ / "out");
    path_ = fakeSongTool(dir_);
  }

  CliResult voconv(const std::vector<std::string>& args) {
    return testing_support::runProgram(dir_ / "bin/voconv", args, dir_.path(), {}, {path_});
  }

  TempDir dir_;
  std::string path_;
};

// The expected bytes are laid out by record, one field or run per line.
// clang-format off
// The project file, little-endian, worked out from the record layout.
std::vector<uint8_t> expectedProject() {
  std::vector<uint8_t> p = {
      // Music: size 224, group 0, kind 0; offsets from the first offset field
      0xE0, 0, 0, 0, 0, 0, 0, 0,
      32, 0, 0, 0, 36, 0, 0, 0, 44, 0, 0, 0, 48, 0, 0, 0, 52, 0, 0, 0, 56, 0, 0, 0, 72, 0, 0, 0, 80, 0, 0, 0,
      1, 0, 0xFF, 0xFF,                          // macros: 1 (odd count)
      1, 0, 2, 0, 0xFF, 0xFF, 0xFF, 0xFF,        // samples: 1, 2 (even count)
      0x01, 0xC0, 0xFF, 0xFF,                    // tables
      0x01, 0x40, 0xFF, 0xFF,                    // keymaps
      0x01, 0x80, 0xFF, 0xFF,                    // layers
      1, 0, 9, 2, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // normal page
      0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,                            // drum page
      0, 0, 0, 0, 5, 100, 64, 10, 20, 0, 0, 0};  // setup 0, channel 1
  p.insert(p.end(), 15 * 8, 0);                  // channels 2..16
  for (int i = 0; i < 4; ++i) p.push_back(0xFF);
  const std::vector<uint8_t> effects = {
      // Effects: size 80, group 1, kind 1
      80, 0, 0, 0, 1, 0, 1, 0,
      24, 0, 0, 0, 28, 0, 0, 0, 32, 0, 0, 0, 36, 0, 0, 0, 40, 0, 0, 0, 44, 0, 0, 0,
      2, 0, 0xFF, 0xFF,                          // macro 2 (the second script's 1)
      4, 0, 0xFF, 0xFF,                          // sample 4
      0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
      2, 0, 0, 0,                                // two effects
      0, 0, 2, 0, 2, 3, 100, 64, 60, 0, 0, 0,    // ID 0, object 2, mv 2, pri 3, dv, dp, dk
      1, 0, 2, 0, 1, 1, 90, 32, 62, 0, 0, 0,
      0xFF, 0xFF, 0xFF, 0xFF};                   // end of the project
  p.insert(p.end(), effects.begin(), effects.end());
  return p;
}

std::vector<uint8_t> expectedPool() {
  std::vector<uint8_t> p = {
      16, 0, 0, 0, 72, 0, 0, 0, 92, 0, 0, 0, 0x68, 0x04, 0, 0,  // sections at 16, 72, 92, 1128
      32, 0, 0, 0, 1, 0, 0, 0,                                   // macro 1: 8 + 24 bytes
      1, 0, 1, 0, 0, 0, 0, 0, 2, 0, 0x01, 0xC0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
      20, 0, 0, 0, 2, 0, 0, 0,                                   // macro 2: 8 + 12 bytes
      1, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0,
      0xFF, 0xFF, 0xFF, 0xFF,
      16, 0, 0, 0, 0x01, 0xC0, 0, 0, 0x10, 0, 0x20, 0, 0x30, 0, 0x40, 0,  // table, bytes as they are
      0xFF, 0xFF, 0xFF, 0xFF,
      0x08, 0x04, 0, 0, 0x01, 0x40, 0, 0,                        // keymap: 8 + 1024 bytes
      1, 0, 0x11, 0x22, 0x34, 0x12, 0, 0};                       // key 0; its last u16 becomes 0
  for (int key = 1; key < 128; ++key) {
    p.push_back(0xFF);
    p.push_back(0xFF);
    p.resize(p.size() + 6, 0);
  }
  const std::vector<uint8_t> tail = {
      0xFF, 0xFF, 0xFF, 0xFF,
      24, 0, 0, 0, 0x01, 0x80, 0, 0, 1, 0, 0, 0,                 // layer: one entry
      1, 0, 0x0A, 0x0B, 0x0C, 0x0D, 0x34, 0x12, 0x0E, 0, 0, 0,
      0xFF, 0xFF, 0xFF, 0xFF};
  p.insert(p.end(), tail.begin(), tail.end());
  return p;
}
// clang-format on

struct DirectoryEntry {
  uint16_t id;
  uint32_t offset, keyRate, lengthType, loopStart, loopLength;
};

std::vector<DirectoryEntry> readDirectory(const std::vector<uint8_t>& sdir, Endian e) {
  std::vector<DirectoryEntry> entries;
  size_t pos = 0;
  while (pos + 4 <= sdir.size() && common::loadU32(sdir.data() + pos, e) != 0xFFFFFFFF) {
    const uint8_t* p = sdir.data() + pos;
    entries.push_back({common::loadU16(p, e), common::loadU32(p + 4, e), common::loadU32(p + 12, e),
                       common::loadU32(p + 16, e), common::loadU32(p + 20, e), common::loadU32(p + 24, e)});
    EXPECT_EQ(common::loadU16(p + 2, e), 0);
    EXPECT_EQ(common::loadU32(p + 8, e), 0u);
    pos += 28;
  }
  EXPECT_EQ(pos + 4, sdir.size());
  return entries;
}

void checkSamples(const TempDir& dir, Endian e) {
  const std::vector<uint8_t> samp = fileBytes(dir / "out/game.samp");
  const std::vector<DirectoryEntry> entries = readDirectory(fileBytes(dir / "out/game.sdir"), e);
  ASSERT_EQ(entries.size(), 3u);
  // Sample 1: the looped WAV ramp, coded (loop 10..59, 40 samples follow).
  EXPECT_EQ(entries[0].id, 1);
  EXPECT_EQ(entries[0].offset, 0u);
  EXPECT_EQ(entries[0].keyRate, 64u << 24 | 22050);
  EXPECT_EQ(entries[0].lengthType, 0x3000000u | 100);
  EXPECT_EQ(entries[0].loopStart, 10u);
  EXPECT_EQ(entries[0].loopLength, 50u);
  // Sample 2: the AIFF ramp, raw: 108 samples after 256 + 3 * 40 = 376 bytes.
  EXPECT_EQ(entries[1].id, 2);
  EXPECT_EQ(entries[1].offset, 376u);
  EXPECT_EQ(entries[1].keyRate, 60u << 24 | 44100);
  EXPECT_EQ(entries[1].lengthType, 100u);
  EXPECT_EQ(entries[1].loopLength, 0u);
  // Sample 4: the KALP chime, coded in 2 blocks.
  EXPECT_EQ(entries[2].id, 4);
  EXPECT_EQ(entries[2].offset, 376u + 216);
  EXPECT_EQ(entries[2].keyRate, 72u << 24 | 16000);
  EXPECT_EQ(entries[2].lengthType, 0x3000000u | 40);
  ASSERT_EQ(samp.size(), 376u + 216 + 336);

  std::vector<int16_t> ramp;
  for (int i = 0; i < 100; ++i) ramp.push_back(int16_t(i * 300 - 15000));
  const auto loop = convert::testing::decodeN64Adaptive(std::span(samp).first(376), 3, e);
  EXPECT_GE(convert::testing::snrDb(ramp, loop, 100), 30.0);
  for (size_t i = 0; i < 100; ++i) {
    EXPECT_EQ(int16_t(common::loadU16(samp.data() + 376 + 2 * i, e)), ramp[i]) << i;
  }
  EXPECT_EQ(int16_t(common::loadU16(samp.data() + 376 + 2 * 107, e)), ramp[99]);
  const auto bell = convert::testing::decodeN64Adaptive(std::span(samp).subspan(592), 2, e);
  EXPECT_GE(convert::testing::snrDb(chime(), bell, 40), 30.0);
}

TEST_F(N64Project, ConvertsForNintendo64) {
  const CliResult r = voconv({"-t", "N64", "s1.txt", "s2.txt", "d.txt"});
  EXPECT_EQ(r.exitCode, 0) << r.out;
  EXPECT_NE(r.out.find("Writing project data...\nDone.\nConverting pool data...\nDone.\n"
                       "Converting sample data...\nIncluding sample file <samples/loop.wav> for ID 1...\n"
                       "Including sample file <samples/tone.aiff> for ID 2...\n"
                       "Including sample file <samples/chime.kalp> for ID 4...\nDone.\n"),
            std::string::npos)
      << r.out;
  EXPECT_EQ(fileBytes(dir_ / "out/game.proj"), expectedProject());
  EXPECT_EQ(fileBytes(dir_ / "out/game.pool"), expectedPool());
  checkSamples(dir_, Endian::Little);
  const std::string include = dir_.readText("out/sound.h");
  EXPECT_NE(include.find("*/\n\n#define MUSIC_SONGGROUP\t\t0\n#define EFFECTS_FXGROUP\t\t1\n#define BOOM_FXID\t\t0\n"
                         "#define FX00001\t\t1\n#define INTRO_SONG\t\t0\n"),
            std::string::npos)
      << include;
}

TEST_F(N64Project, VerboseLines) {
  const CliResult r = voconv({"-v", "-t", "N64", "s1.txt", "s2.txt", "d.txt"});
  EXPECT_EQ(r.exitCode, 0) << r.out;
  EXPECT_NE(r.out.find("Writing project data...\nIncluding songgroup <Music> into project data...\n"
                       "Including FXgroup <Effects> into project data...\nDone.\n"
                       "Converting pool data...\n"
                       "Including macro file <m1.mac> for ID 1...\nIncluding macro file <m2.mac> for ID 2...\n"
                       "Including curve file <t.tab> for ID 49153...\n"
                       "Including keymap data read from file <km.bin> for ID 16385...\n"
                       "Including layer data read from file <ly.bin> for ID 32769...\nDone.\n"
                       "Converting sample data...\n"
                       "Including sample file <samples/loop.wav> for ID 1...\n"
                       "(len=100, loop=10, llen=50, frq=22050, key=64)\n"
                       "Including sample file <samples/tone.aiff> for ID 2...\n(len=100, frq=44100, key=60)\n"
                       "Including sample file <samples/chime.kalp> for ID 4...\n(len=40, frq=16000, key=72)\nDone.\n"),
            std::string::npos)
      << r.out;
}

TEST_F(N64Project, BigEndian) {
  const CliResult r = voconv({"-b", "-t", "N64", "s1.txt", "s2.txt", "d.txt"});
  EXPECT_EQ(r.exitCode, 0) << r.out;
  // Every 16- and 32-bit value swaps; bytes stay. Checked on the fields.
  const std::vector<uint8_t> proj = fileBytes(dir_ / "out/game.proj");
  ASSERT_EQ(proj.size(), expectedProject().size());
  EXPECT_EQ(std::vector<uint8_t>(proj.begin(), proj.begin() + 12),
            (std::vector<uint8_t>{0, 0, 0, 0xE0, 0, 0, 0, 0, 0, 0, 0, 32}));
  EXPECT_EQ(std::vector<uint8_t>(proj.begin() + 40, proj.begin() + 44), (std::vector<uint8_t>{0, 1, 0xFF, 0xFF}));
  EXPECT_EQ(std::vector<uint8_t>(proj.begin() + 64, proj.begin() + 72),
            (std::vector<uint8_t>{0, 1, 9, 2, 0xFF, 0, 0, 0}));
  const std::vector<uint8_t> pool = fileBytes(dir_ / "out/game.pool");
  ASSERT_EQ(pool.size(), expectedPool().size());
  // Macro words in the target order: the first step's words 0x00010001, 0.
  EXPECT_EQ(std::vector<uint8_t>(pool.begin() + 24, pool.begin() + 32), (std::vector<uint8_t>{0, 1, 0, 1, 0, 0, 0, 0}));
  // Table bytes unchanged.
  EXPECT_EQ(std::vector<uint8_t>(pool.begin() + 80, pool.begin() + 88),
            (std::vector<uint8_t>{0x10, 0, 0x20, 0, 0x30, 0, 0x40, 0}));
  checkSamples(dir_, Endian::Big);
}

TEST_F(N64Project, DefaultTargetWritesNoSampleDataAndEndsWithTwo) {
  const CliResult r = voconv({"s1.txt", "s2.txt", "d.txt"});
  EXPECT_EQ(r.exitCode, 2) << r.out;
  EXPECT_EQ(fileBytes(dir_ / "out/game.proj"), expectedProject());
  EXPECT_EQ(fileBytes(dir_ / "out/game.pool"), expectedPool());
  const std::string kMessage = "*** Targetformat is not yet supported. No data has been written!\n";
  EXPECT_NE(r.out.find("Converting sample data...\nIncluding sample file <samples/loop.wav> for ID 1...\n" + kMessage +
                       "Including sample file <samples/tone.aiff> for ID 2...\n" + kMessage +
                       "Including sample file <samples/chime.kalp> for ID 4...\n" + kMessage),
            std::string::npos)
      << r.out;
  EXPECT_EQ(r.out.find("INTRO_SONG"), std::string::npos);
  // Whole entries with zero header words; no data.
  const auto entries = readDirectory(fileBytes(dir_ / "out/game.sdir"), Endian::Little);
  ASSERT_EQ(entries.size(), 3u);
  for (const DirectoryEntry& e : entries) {
    EXPECT_EQ(e.offset, 0u);
    EXPECT_EQ(e.keyRate | e.lengthType | e.loopStart | e.loopLength, 0u);
  }
  EXPECT_TRUE(fileBytes(dir_ / "out/game.samp").empty());
}

TEST_F(N64Project, SkippingSamplesAndDefaultType) {
  CliResult r = voconv({"-s", "-t", "N64", "s1.txt", "s2.txt", "d.txt"});
  EXPECT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(r.out.find("Converting sample data..."), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "out/game.sdir"));
  EXPECT_NE(dir_.readText("out/sound.h").find("#define INTRO_SONG\t\t0\n"), std::string::npos);
  // -d codes the raw sample 2 too: 256 + 3 * 40 bytes.
  r = voconv({"-d", "-t", "N64", "s1.txt", "s2.txt", "d.txt"});
  EXPECT_EQ(r.exitCode, 0) << r.out;
  const auto entries = readDirectory(fileBytes(dir_ / "out/game.sdir"), Endian::Little);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[1].lengthType, 0x3000000u | 100);
  EXPECT_EQ(entries[2].offset, 2 * 376u);
}

TEST_F(N64Project, AFailedSampleDoesNotStopTheOthersButTheRunFails) {
  std::filesystem::remove(dir_ / "samples/tone.aiff");
  const CliResult r = voconv({"-t", "N64", "s1.txt", "s2.txt", "d.txt"});
  EXPECT_EQ(r.exitCode, 2) << r.out;
  EXPECT_NE(r.out.find("Including sample file <samples/tone.aiff> for ID 2...\n"
                       "*** Could not read sample file.\n*** File `samples/tone.aiff' not found!\n"
                       "Including sample file <samples/chime.kalp> for ID 4...\nDone.\n"),
            std::string::npos)
      << r.out;
  const auto entries = readDirectory(fileBytes(dir_ / "out/game.sdir"), Endian::Little);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[1].lengthType, 0u);
  EXPECT_EQ(entries[2].offset, 376u);
  EXPECT_EQ(entries[2].lengthType, 0x3000000u | 40);
}

TEST_F(N64Project, UnknownGroupAndMissingObjects) {
  dir_.write("d.txt", "[Project]\nMusic\nNoSuchGroup\n[Pool]\nMusic\n[OutputDirectory]\nout\n[Name]\ngame\n");
  CliResult r = voconv({"-t", "N64", "s1.txt", "s2.txt", "d.txt"});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.out.find("Writing project data...\n*** Group <NoSuchGroup> is not defined within this project.\n"),
            std::string::npos)
      << r.out;
  EXPECT_EQ(r.out.find("Converting pool data..."), std::string::npos);
  // The record of Music and the end marker are written.
  const std::vector<uint8_t> proj = fileBytes(dir_ / "out/game.proj");
  ASSERT_EQ(proj.size(), 224u + 4);
  EXPECT_EQ(std::vector<uint8_t>(proj.end() - 4, proj.end()), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));

  std::filesystem::remove(dir_ / "t.tab");
  dir_.write("d.txt", "[Project]\nMusic\n[Pool]\nMusic\n[OutputDirectory]\nout\n[Name]\ngame\n");
  r = voconv({"-t", "N64", "s1.txt", "s2.txt", "d.txt"});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.out.find("Converting pool data...\n*** Could not read curve file.\n"), std::string::npos) << r.out;
}

TEST_F(N64Project, StackGroupsAndPoolFlags) {
  // Effects is on the stack for the pool: its macro 2 is skipped; Music's
  // pool is not included: its objects are not written either.
  dir_.write("d.txt", "[Project]\nMusic\nEffects\n[Pool]\nEffects\nSTACK=Effects\n[Samples]\nMusic\nSTACK=Music\n"
                      "[OutputDirectory]\nout\n[Name]\ngame\n");
  const CliResult r = voconv({"-t", "N64", "s1.txt", "s2.txt", "d.txt"});
  EXPECT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(fileBytes(dir_ / "out/game.pool"),
            (std::vector<uint8_t>{16,   0,    0,    0,    20,   0,    0,    0,    24,   0,    0,
                                  0,    28,   0,    0,    0,    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                  0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(fileBytes(dir_ / "out/game.sdir"), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
}

}  // namespace

namespace {

// Release 1.15 reads chunks without their pad bytes, so a WAV file with an
// odd-sized chunk before "fmt " cannot be read by it.
TEST(N64Release115, OddChunkWavFailsOnlyInTheOldRelease) {
  TempDir dir;
  dir.write("macrodef.vqd", "");
  dir.write("s.txt", "[Samples]\n1,odd.wav,1\n[Songgroup]\nName=G\nSample=1\n");
  dir.write("d.txt", "[Project]\nG\n[Samples]\nG\n[OutputDirectory]\nout\n[Name]\ng\n");
  dir.write("odd.wav", fileBytes(kFixtures / "py_odd_chunk.wav"));
  std::filesystem::create_directory(dir / "out");
  const CliResult now = testing_support::runProgram(VOCONV_EXE, {"-t", "N64", "s.txt", "d.txt"}, dir.path());
  EXPECT_EQ(now.exitCode, 0) << now.out;
  // Raw: 4 samples and 8 repeats of the last one.
  EXPECT_EQ(fileBytes(dir / "out/g.samp"),
            (std::vector<uint8_t>{1,    0,    0xFE, 0xFF, 3,    0,    0xFC, 0xFF, 0xFC, 0xFF, 0xFC, 0xFF,
                                  0xFC, 0xFF, 0xFC, 0xFF, 0xFC, 0xFF, 0xFC, 0xFF, 0xFC, 0xFF, 0xFC, 0xFF}));
  const CliResult old = testing_support::runProgram(VOCONV115_EXE, {"-t", "N64", "s.txt", "d.txt"}, dir.path());
  EXPECT_EQ(old.exitCode, 2) << old.out;
  EXPECT_NE(old.out.find("*** Could not read sample file.\n*** Error locating `fmt ' chunk!\n"), std::string::npos)
      << old.out;
}

// The bundled example codes its instrument samples (type 0) and keeps the
// string sample raw (type 1), as its export script labels them.
TEST(ExampleProject, CodesItsBigSamples) {
  TempDir dir;
  const std::filesystem::path project = (kFixtures / "../../../../examples/project").lexically_normal();
  const std::string path = fakeSongTool(dir);
  const CliResult r = testing_support::runProgram(
      VOCONV_EXE,
      {"-t", "N64", "-p", project.string(), "music.txt", "effects.txt", (project / "description.txt").string()},
      dir.path(), {}, {path});
  EXPECT_EQ(r.exitCode, 0) << r.out;
  std::vector<uint32_t> coding;
  for (const DirectoryEntry& e : readDirectory(fileBytes(dir / "demo.sdir"), Endian::Little)) {
    coding.push_back(e.lengthType >> 24);
  }
  // Samples 1 to 4 of the music project (piano, bass, organ, string), then the effects' 5 to 7.
  EXPECT_EQ(coding, (std::vector<uint32_t>{3, 3, 3, 0, 3, 3, 3}));
}

}  // namespace
