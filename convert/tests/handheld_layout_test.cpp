// The handheld layouts on projects built by hand; the expected bytes are
// worked out from the format rules.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "common/byte_order.h"
#include "convert/targets/handheld/advance_project_file.h"
#include "convert/targets/handheld/gb_image.h"
#include "convert/targets/handheld/gb_include_file.h"
#include "convert/targets/handheld/gb_layout.h"
#include "convert/targets/handheld/gb_preset_blocks.h"
#include "convert/targets/handheld/handheld_envelopes.h"
#include "convert/targets/handheld/handheld_symbols.h"

using namespace voconv;
using Bytes = std::vector<uint8_t>;

namespace {

struct Capture {
  std::ostringstream text;
  common::Output out{text};
};

convert::HandheldSample sample(size_t bytes, uint8_t fill, uint32_t rate, uint32_t checksum = 0) {
  convert::HandheldSample s;
  s.header.keyRate = convert::SampleHeader::makeKeyRate(60, rate);
  s.data.assign(bytes, fill);
  s.checksum = checksum;
  return s;
}

HandheldEffect effect(int macro, uint8_t priority, uint8_t key, uint8_t velocity, std::string name) {
  HandheldEffect fx;
  fx.macroIndex = macro;
  fx.priority = priority;
  fx.key = key;
  fx.velocity = velocity;
  fx.name = std::move(name);
  return fx;
}

HandheldSetup setupWithSong(size_t songBytes) {
  HandheldSetup s;
  s.name = "Intro";
  s.normalPage[0] = PageSlot{true, 1, 0, 0};
  s.song.assign(songBytes, 0xAB);
  return s;
}

// Macro 0 jumps (bytes 2-3) to macro 1; the stand-in resolver writes the
// target's place high byte first, as the handheld compiler's references are.
HandheldProject smallGameBoyProject() {
  HandheldProject p;
  p.macros = {HandheldMacro{{0x15, 0x01, 0x00, 0x00, 0x00}}, HandheldMacro{{0x00}}};
  p.resolveReferences = [](std::span<const uint32_t> places, std::span<uint8_t> bytes, common::Output&) {
    common::storeU16(bytes.data() + places[0] + 2, uint16_t(places[1]), common::Endian::Big);
    return true;
  };
  p.tables = {EnvelopeCurve{5, 200, 2048, 300}};
  p.effectGroups = {{effect(0, 10, 60, 127, "Boom"), effect(-1, 9, 9, 9, "Lost"), effect(1, 3, 72, 5, "Zap")},
                    {effect(1, 0, 0, 0, "A"), effect(0, 255, 127, 8, "B"), effect(0, 1, 2, 7, "C")}};
  // The second sample starts 16 bytes before the end of bank 1.
  p.samples = {sample(0x3FF0, 0x11, 8000, 0xA1B2C3D4), sample(0x20, 0x22, 3999, 0x01020304)};
  HandheldSetup setup = setupWithSong(3);
  p.setups = {setup};
  p.keymap = KeymapMacro{1, 1};
  return p;
}

}  // namespace

TEST(HandheldLayout, BankedAddresses) {
  struct Case {
    uint32_t offset;
    GameBoyVariant variant;
    uint32_t bank;
    uint16_t address;
  };
  constexpr auto kCart = GameBoyVariant::Cartridge;
  for (const Case& c : {Case{0x4000, kCart, 1, 0x4000}, Case{0x7FFF, kCart, 1, 0x7FFF}, Case{0x8000, kCart, 2, 0x4000},
                        Case{0x4000, GameBoyVariant::SlaveRom, 2, 0x4000}, Case{0x7FFFFF, kCart, 511, 0x7FFF}}) {
    const BankedAddress at = bankedAddress(c.offset, c.variant);
    EXPECT_EQ(at.bank, c.bank) << std::hex << c.offset;
    EXPECT_EQ(at.address, c.address) << std::hex << c.offset;
  }
}

TEST(HandheldLayout, EnvelopeRecordsOfBothTargets) {
  struct Case {
    EnvelopeCurve curve;
    Bytes gameBoy;
    Bytes advance;
  };
  // {5, 200, 2048, 300}: ticks 1, 12, 18; Game Boy level floor(7.5 + 0.5) = 8,
  // decay -(1792 / 12) = -149, release -(2048 / 18) = -113; Advance level
  // 128 << 8, decay 32512 / 12 = 2709, release 32768 / 18 = 1820.
  // {0, 0, 65535, 0}: 0 ms counts as one tick; the Game Boy level stops at 15,
  // the Advance level keeps the low 8 bits of 4080.
  const Case cases[] = {
      {{5, 200, 2048, 300},
       {0x00, 0x0F, 0x6B, 0xFF, 0x08, 0x8F, 0xFF},
       {0x00, 0xFF, 0x95, 0x0A, 0x00, 0x80, 0x1C, 0x07}},
      {{0, 0, 65535, 0}, {0x00, 0x0F, 0x00, 0x00, 0x0F, 0x00, 0xF1}, {0x00, 0xFF, 0x00, 0x0F, 0x00, 0xF0, 0x00, 0xF0}},
  };
  for (const Case& c : cases) {
    common::ByteWriter gb, agb;
    writeGameBoyEnvelope(gb, c.curve);
    writeAdvanceEnvelope(agb, c.curve);
    EXPECT_EQ(gb.data(), c.gameBoy);
    EXPECT_EQ(agb.data(), c.advance);
  }
}

TEST(HandheldLayout, GameBoyProjectPartAndImage) {
  Capture log;
  const std::optional<GameBoyLayout> layout =
      layOutGameBoyImage(smallGameBoyProject(), {GameBoyVariant::Cartridge, true}, log.out);
  ASSERT_TRUE(layout) << log.text.str();
  const Bytes expected = {
      0x19, 0x00, 0x22, 0x00, 0x06, 0x3A, 0x00, 0x02, 0x00, 0x18, 0x00, 0x01, 0x46, 0x00, 0x01,  // header
      0x04, 0x00, 0x09, 0x00, 0x15, 0x01, 0x00, 0x09, 0x00, 0x00,                                // macro area
      0x02, 0x00, 0x00, 0x0F, 0x6B, 0xFF, 0x08, 0x8F, 0xFF,                                      // table area
      0x00, 0x0A, 0x3C, 0x0F, 0x00, 0x00, 0x00, 0x00, 0x01, 0x03, 0x48, 0x01,                    // effects
      0x01, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x7F, 0x01, 0x00, 0x01, 0x02, 0x01, 0x00, 0x40, 0xFF,
      0x03, 0x01, 0x01, 0xF0, 0x7F, 0x02, 0x00, 0x00, 0x01,  // samples
      0x03, 0x00, 0x40,                                      // MIDI setups
  };
  EXPECT_EQ(Bytes(layout->projectPart().begin(), layout->projectPart().end()), expected);
  EXPECT_EQ(layout->sampleEnd, 0x8010u);
  EXPECT_EQ(layout->presetStart, 0xC000u);
  ASSERT_EQ(layout->poolEnd, 0xC000u + 135);
  EXPECT_EQ(layout->image[0x7FF0], 0x22);
  EXPECT_EQ(layout->image[0x8010], 0x00);
  const Bytes block(layout->image.begin() + 0xC000, layout->image.end());
  Bytes expectedBlock(132, 0);
  for (size_t i : {0, 1, 2, 3, 4}) expectedBlock[i] = 1;  // four channels on program 0, then page entry 0
  expectedBlock.insert(expectedBlock.end(), 3, 0xAB);
  EXPECT_EQ(block, expectedBlock);
  EXPECT_EQ(log.text.str(),
            "\nMemory statistics:\n   > Macros: 6 bytes\n   > Tables: 7 bytes\n   > Samples (unaligned): 16400 bytes\n"
            "   > Preset & arrangement for \"Intro\": 135 bytes\n"
            "   = All presets & arrangements (unaligned): 135 bytes\n\n");
}

TEST(HandheldLayout, SlaveRomKeepsOnlyTheOffsetRoomAndSampleDirectory) {
  Capture log;
  const std::optional<GameBoyLayout> layout =
      layOutGameBoyImage(smallGameBoyProject(), {GameBoyVariant::SlaveRom, false}, log.out);
  ASSERT_TRUE(layout) << log.text.str();
  const Bytes expected = {
      0x13, 0x00, 0x15, 0x00, 0x00, 0x15, 0x00, 0x02, 0x02, 0x00, 0x00, 0x00, 0x29, 0x00, 0x00,  // header
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00,                                                        // offset room
      0x00, 0x40, 0xFF, 0x03, 0x01, 0x02, 0xD4, 0xC3, 0xB2, 0xA1,                                // banks one higher
      0xF0, 0x7F, 0x02, 0x00, 0x00, 0x02, 0x04, 0x03, 0x02, 0x01,
  };
  EXPECT_EQ(Bytes(layout->projectPart().begin(), layout->projectPart().end()), expected);
  EXPECT_EQ(layout->sampleData().size(), 0x4010u);
  EXPECT_EQ(log.text.str(), "");
}

TEST(HandheldLayout, GameBoyLimitsEndTheLayoutWithAMessage) {
  struct Case {
    const char* what;
    std::function<void(HandheldProject&)> change;
    const char* message;
  };
  const Case cases[] = {
      {"effects", [](HandheldProject& p) { p.effectGroups.push_back(std::vector<HandheldEffect>(250)); },
       "*** ERROR: Too many sound effects for the Game Boy (256, at most 255)!\n"},
      {"samples", [](HandheldProject& p) { p.samples.resize(256, sample(16, 0, 8000)); },
       "*** ERROR: Too many samples for the Game Boy (256, at most 255)!\n"},
      {"setups", [](HandheldProject& p) { p.setups.resize(256, setupWithSong(0)); },
       "*** ERROR: Too many MIDI setups for the Game Boy (256, at most 255)!\n"},
      {"sample length", [](HandheldProject& p) { p.samples[1].data.resize(0x100000); },
       "*** ERROR: Sample 1 is too long for the Game Boy (1048576 bytes, at most 1048560)!\n"},
      // 0x3D00 = 15616 bytes lie between 0x300 and 0x4000; the part has 73 + 2 + 15542.
      {"project part", [](HandheldProject& p) { p.macros.push_back(HandheldMacro{Bytes(15542, 0)}); },
       "*** ERROR: Project data (15617 bytes) reach the sample data at 0x4000!\n"},
      {"sample bank", [](HandheldProject& p) { p.samples.insert(p.samples.begin(), 4, sample(0xFFFF0, 0, 8000)); },
       "*** ERROR: Sample 4 would start in bank 256; the sample directory names banks up to 255 only!\n"},
      {"song length", [](HandheldProject& p) { p.setups[0].song.resize(16253); },
       "*** ERROR: MIDI sequence too long to fit in one Game Boy bank!\n"},
  };
  for (const Case& c : cases) {
    HandheldProject p = smallGameBoyProject();
    c.change(p);
    Capture log;
    EXPECT_FALSE(layOutGameBoyImage(p, {}, log.out)) << c.what;
    EXPECT_EQ(log.text.str(), c.message) << c.what;
  }
  // Right at the limits everything still fits.
  HandheldProject atLimits = smallGameBoyProject();
  atLimits.macros.push_back(HandheldMacro{Bytes(15541, 0)});
  atLimits.setups[0].song.resize(16252);
  Capture log;
  EXPECT_TRUE(layOutGameBoyImage(atLimits, {}, log.out)) << log.text.str();
}

TEST(HandheldLayout, EightMegabyteLimits) {
  Capture log;
  const size_t tooLarge[] = {0x7FC000, 1};
  EXPECT_FALSE(placeSamples(tooLarge, GameBoyVariant::Cartridge, log.out));
  const size_t fits[] = {0x7FC000};
  EXPECT_TRUE(placeSamples(fits, GameBoyVariant::Cartridge, log.out));
  const size_t blocks[] = {100};
  EXPECT_TRUE(packPresetBlocks(blocks, 0x3FC000, log.out));
  EXPECT_FALSE(packPresetBlocks(blocks, 0x400000, log.out));  // bank 256
  EXPECT_FALSE(packPresetBlocks(blocks, 0x7FC000, log.out));
  EXPECT_EQ(log.text.str(),
            "*** ERROR: Project & Sample data exceed 8MB!\n"
            "*** ERROR: The preset block of MIDI setup 0 would lie in bank 256; the MIDI setup table names banks up to "
            "255 only!\n"
            "*** ERROR: Project, Sample and MIDI data exceed 8MB!\n");
}

TEST(HandheldLayout, PresetBlocksPackLargestFirst) {
  Capture log;
  const size_t sizes[] = {10000, 9000, 6000};
  const std::optional<std::vector<uint32_t>> offsets = packPresetBlocks(sizes, 0x8000, log.out);
  ASSERT_TRUE(offsets);
  // {10000, 6000} share the first bank, {9000} starts the next.
  EXPECT_EQ(*offsets, (std::vector<uint32_t>{0x8000, 0xC000, 0x8000 + 10000}));
}

TEST(HandheldLayout, PresetBlocksNameMacrosOfThePageOnly) {
  struct Case {
    const char* what;
    std::function<void(HandheldSetup&)> change;
    const char* gameBoy;  // message, or "" when the block is built
    const char* advance;
  };
  const Case cases[] = {
      {"channel on an empty program", [](HandheldSetup& s) { s.programs[3] = 7; },
       "*** ERROR: Illegal macro ID found in MIDI setup!\n", ""},
      {"normal page entry without a macro",
       [](HandheldSetup& s) {
         s.normalPage[9] = PageSlot{true, -1, 0, 0};
       },
       "*** ERROR: Illegal macro ID found in MIDI setup!\n",
       "*** ERROR: Illegal macro ID found in MIDI setup (normal page)!\n"},
      {"drum page entry without a macro",
       [](HandheldSetup& s) {
         s.drumPage[2] = PageSlot{true, -1, 0, 0};
       },
       "", "*** ERROR: Illegal macro ID found in MIDI setup (drum page)!\n"},
  };
  for (const Case& c : cases) {
    HandheldSetup setup = setupWithSong(1);
    c.change(setup);
    Capture gb, agb;
    EXPECT_EQ(buildGameBoyPresetBlock(setup, gb.out).has_value(), *c.gameBoy == 0) << c.what;
    EXPECT_EQ(buildAdvancePresetBlock(setup, agb.out).has_value(), *c.advance == 0) << c.what;
    EXPECT_EQ(gb.text.str(), c.gameBoy) << c.what;
    EXPECT_EQ(agb.text.str(), c.advance) << c.what;
  }
}

TEST(HandheldLayout, GameBoyIncludeSlicesThePoolIntoBanks) {
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  const std::string head = ";****************************************************************\n"
                           ";                  Vocta(tm) data include file\n"
                           ";\n"
                           ";   Automatically created by VOConv on Thu Jan  1 00:00:00 1970\n"
                           ";\n\n\tISDMG\n";
  const std::string link = "\tOFFBANKGROUP\n\nVOCTA\t\tGROUP\n\t\tLIBBIN\t/p/demo.proj\n\n";
  const std::string slice0 = "VOCTA_DATA\tGROUP\n\t\tBINSET\t$0,$4000\n\t\tLIBBIN\t/p/demo.pool\n\n";
  struct Case {
    uint32_t pool;
    bool capsOff;
    std::string tail;
  };
  const Case cases[] = {
      {0, true, "\tCAPSOFF\n" + link},
      {0x4000, false, "\tCAPSON\n" + link + slice0},
      {0x4001, false,
       "\tCAPSON\n" + link + slice0 +
           "\t\tOFFSET\t$c000\t\t\t; Wrap to next bank\n\t\tBINSET\t$4000,$1\n\t\tLIBBIN\t/p/demo.pool\n\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(gameBoyIncludeText({RunDate{}, c.capsOff, "/p/demo.proj", "/p/demo.pool", c.pool}), head + c.tail)
        << c.pool;
  }
}

TEST(HandheldLayout, EffectAndSongSymbolsCountAcrossGroups) {
  HandheldProject p = smallGameBoyProject();
  p.effectGroups[1][0].name.clear();
  p.effectGroups[1][0].id = 2;
  EXPECT_EQ(effectSymbols(p, SymbolForm::Assembler),
            "SFXID_Boom\tEQU\t0\nSFXID_Lost\tEQU\t1\nSFXID_Zap\tEQU\t2\nSFXID_FX00002\tEQU\t3\nSFXID_B\tEQU\t4\n"
            "SFXID_C\tEQU\t5\n");
  p.setups.push_back(setupWithSong(0));
  p.setups[1].name = "Boss 1";  // a blank cannot stand in a symbol
  EXPECT_EQ(songSymbols(p, SymbolForm::C), "#define SONGID_Intro\t0\n#define SONGID_Boss_1\t1\n");
}

TEST(HandheldLayout, AdvanceProjectFile) {
  HandheldProject p;
  p.macros = {HandheldMacro{{0x0D, 0x00, 0, 0, 0, 0, 0x00, 0x00}, 3, 0x80, 0}, HandheldMacro{{0x00, 0x00}}};
  p.resolveReferences = [](std::span<const uint32_t> places, std::span<uint8_t> bytes, common::Output&) {
    common::storeU32(bytes.data() + places[0] + 2, places[1] - places[0], common::Endian::Little);
    return true;
  };
  p.tables = {EnvelopeCurve{5, 200, 2048, 300}};
  HandheldEffect known = effect(1, 7, 60, 100, "Zap");
  known.maxVoices = 2;
  known.panning = 64;
  p.effectGroups = {{known, effect(-1, 1, 1, 1, "Lost")}};
  HandheldSetup setup;
  for (uint8_t ch = 0; ch < 16; ++ch) setup.programs[ch] = ch;
  setup.normalPage[0] = PageSlot{true, 0, 9, 2};
  setup.drumPage[1] = PageSlot{true, 1, 4, 1};
  setup.song = {1, 2, 3, 4, 5};
  p.setups = {setup};
  convert::HandheldSample plain = sample(3, 0x05, 22050);
  convert::HandheldSample coded = sample(16, 0x87, 0x12345);
  coded.header.keyRate = convert::SampleHeader::makeKeyRate(72, 0x12345);
  coded.header.lengthType = convert::SampleHeader::makeLengthType(32, 1);
  coded.header.loopStart = 5;
  coded.header.loopLength = 10;
  p.samples = {plain, coded};

  common::ByteWriter w;  // the file as the format rules place it
  for (uint32_t v : {32u, 60u, 72u, 72u, 0u, 0u, 92u, 1148u}) w.u32(v);
  w.u32(40), w.u32(52);                                                                   // macro table
  w.bytes(Bytes{3, 0x80, 0, 0, 0x0D, 0x00, 12, 0, 0, 0, 0, 0});                           // record 0: step 44 -> 56
  w.bytes(Bytes{255, 0, 0, 0, 0, 0, 0, 0});                                               // record 1, padded
  w.u32(64), w.bytes(Bytes{0x00, 0xFF, 0x95, 0x0A, 0x00, 0x80, 0x1C, 0x07});              // table directory
  w.u32(2), w.bytes(Bytes{1, 0, 7, 0xFF, 2, 100, 64, 60, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0});  // effects
  w.u32(1), w.u32(100);                                                                   // songs
  for (uint8_t ch = 0; ch < 16; ++ch) w.u8(ch);
  w.bytes(Bytes{0, 0, 9, 2}), w.zeros(127 * 4);
  w.zeros(4), w.bytes(Bytes{1, 0, 4, 1}), w.zeros(126 * 4);
  w.bytes(Bytes{1, 2, 3, 4, 5, 0, 0, 0});
  w.u32(1156), w.u32(1176);  // samples
  w.u32(3), w.u32(0xFFFFFFFF), w.u16(22050), w.u8(60), w.u8(0), w.u32(0), w.bytes(Bytes{5, 5, 5, 0});
  w.u32(16), w.u32(5), w.u16(0x2345), w.u8(72), w.u8(1), w.u32(0), w.bytes(Bytes(16, 0x87));
  Capture log;
  const std::optional<Bytes> file = emitAdvanceProject(p, log.out);
  ASSERT_TRUE(file) << log.text.str();
  EXPECT_EQ(*file, w.data());
}
