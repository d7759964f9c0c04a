// The two handheld macro compilers. Expected bytes are worked out by hand
// from the command tables: advance steps little-endian, Game Boy steps
// big-endian. In every project below macro 1 has index 0 and macro 0x20
// index 1, sample 9 index 0 and sample 7 index 1, table 0xC006 index 0 and
// table 0xC005 index 1 (the object list is indexed newest first).
#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "convert/compile/macro_compilation.h"
#include "convert/compile/time_pitch.h"
#include "convert/foundation/fatal_error.h"

namespace voconv {
namespace {

using Step = std::array<uint8_t, 8>;
using Bytes = std::vector<uint8_t>;
constexpr Step kEnd{};

Bytes stepBytes(const std::vector<Step>& steps) {
  Bytes bytes;
  for (const Step& s : steps) bytes.insert(bytes.end(), s.begin(), s.end());
  return bytes;
}

struct Project {
  TargetObjectList objects;
  std::ostringstream text;
  common::Output out{text};

  // `first` becomes macro 1, `second` macro 0x20; each gets an END.
  Project(std::vector<Step> first, std::vector<Step> second = {}) {
    objects.add(TargetObjectType::Sample, 7, 0);
    objects.add(TargetObjectType::Sample, 9, 0);
    objects.add(TargetObjectType::Table, 0xC005, 0);
    objects.add(TargetObjectType::Table, 0xC006, 0);
    second.push_back(kEnd);
    first.push_back(kEnd);
    objects.add(TargetObjectType::Macro, 0x20, 0).payload = stepBytes(second);
    objects.add(TargetObjectType::Macro, 1, 0).payload = stepBytes(first);
  }
};

struct RowCase {
  const char* name;
  std::vector<Step> steps;
  Bytes expected;  // END included
};

void expectRows(CompileTarget target, const std::vector<RowCase>& cases) {
  for (const RowCase& c : cases) {
    Project p(c.steps);
    MacroCompilation mc(p.objects, target);
    EXPECT_TRUE(mc.compileAll(p.out)) << c.name << ": " << p.text.str();
    EXPECT_EQ(mc.macros()[0].bytes, c.expected) << c.name;
  }
}

struct FailCase {
  const char* name;
  std::vector<Step> first;
  std::vector<Step> second;
  std::string text;
};

void expectFailures(CompileTarget target, const std::vector<FailCase>& cases) {
  for (const FailCase& c : cases) {
    Project p(c.first, c.second);
    MacroCompilation mc(p.objects, target);
    EXPECT_FALSE(mc.compileAll(p.out)) << c.name;
    EXPECT_EQ(p.text.str(), c.text) << c.name;
  }
}

TEST(TimeAndPitch, FollowTheFormulasAtTheirEdges) {
  EXPECT_EQ(ticks(0), 0);
  EXPECT_EQ(ticks1(0), 1);
  EXPECT_EQ(ticks(1), 1);
  EXPECT_EQ(ticks(150), 9);  // 9.99999996 rounds down
  EXPECT_EQ(ticks(500), 30);
  EXPECT_EQ(ticks(65535), 3933);
  EXPECT_EQ(pitch(60, 0), 0x3C00);
  EXPECT_EQ(pitch(60, -50), 0x3B80);
  EXPECT_EQ(pitch(0, -50), 0xFF80);  // the signed fraction OR-ed in
  EXPECT_EQ(pitch(1, 99), 0x01FE);
}

TEST(ObjectIndexing, NumbersNewestFirstAndStopsAtTheLimits) {
  TargetObjectList objects;
  for (uint16_t id = 0; id < 257; ++id) objects.add(TargetObjectType::Macro, id, 0);
  objects.add(TargetObjectType::Table, 0xC003, 0);
  const ObjectIndex index = ObjectIndex::build(objects, CompileTarget::GameBoy);
  EXPECT_EQ(index.macroIndex(256), 0);
  EXPECT_EQ(index.macroIndex(1), 255);
  EXPECT_EQ(index.macroIndex(0), -1);  // the 257th
  EXPECT_EQ(objects.find(TargetObjectType::Macro, 0)->index, -1);
  EXPECT_EQ(index.tableIndex(0xC003), 0);
  EXPECT_EQ(index.tableIndex(3), -1);  // tables are looked up with their kind bits
  EXPECT_EQ(ObjectIndex::build(objects, CompileTarget::Advance).macroIndex(0), 256);
}

TEST(ObjectIndexing, TooManySongGroupsOrMidiSetupsIsFatal) {
  for (TargetObjectType type : {TargetObjectType::SongGroup, TargetObjectType::MidiSetup}) {
    TargetObjectList objects;
    for (uint16_t id = 0; id < 256; ++id) objects.add(type, id, 0);
    EXPECT_NO_THROW(ObjectIndex::build(objects, CompileTarget::GameBoy));
    objects.add(type, 256, 0);
    try {
      ObjectIndex::build(objects, CompileTarget::GameBoy);
      ADD_FAILURE() << "no fatal error";
    } catch (const FatalError& e) {
      EXPECT_EQ(e.exitCode(), 1);
      EXPECT_EQ(std::string(e.what()), type == TargetObjectType::SongGroup ? "*** ERROR: Too many song groups!"
                                                                           : "*** ERROR: Too many MIDI setups!");
    }
  }
}

TEST(AdvanceCompiler, TranslatesEveryComputingRow) {
  expectRows(
      CompileTarget::Advance,
      {
          {"END only", {}, {0x00, 0x00}},
          {"WAIT flags, ticks(150)", {{0x02, 1, 0, 1, 0, 0, 0x96, 0x00}}, {0x04, 0x05, 0x09, 0x00, 0, 0}},
          {"WAIT forever", {{0x02, 0, 1, 0, 0, 0, 0xFF, 0xFF}}, {0x04, 0x02, 0xFF, 0xFF, 0, 0}},
          {"WAIT ticks(500)", {{0x02, 0, 0, 0, 0, 0, 0xF4, 0x01}}, {0x04, 0x00, 0x1E, 0x00, 0, 0}},
          {"LOOP back over WAIT",
           {{0x02}, {0x03, 1, 0, 0, 0, 0, 5, 0}},
           {0x04, 0, 0, 0, 0x06, 0x01, 0x05, 0x00, 0xFC, 0xFF, 0, 0}},
          {"PWM_START swapped",
           {{0x19, 0x80, 0x20, 0x10, 0, 0, 0xE8, 0x03}},
           {0x13, 0x20, 0x20, 0x80, 0x67, 0xFE, 0, 0}},
          {"PWM_START no time", {{0x19, 0x20, 0x80, 0x50}}, {0x13, 0x50, 0x20, 0x80, 0x00, 0x00, 0, 0}},
          {"PWM_VELOCITY exchanged", {{0x1A, 0x07, 0x90, 0x10, 0x01}}, {0x14, 0x07, 0x90, 0x10, 0, 0}},
          {"ENVELOPE", {{0x23, 0x40, 0, 0, 0, 0, 0xE8, 0x03}}, {0x15, 0x40, 0x40, 0x04, 0, 0}},
          {"ENVELOPE forever", {{0x23, 0x40, 0, 0, 0, 0, 0xFF, 0xFF}}, {0x15, 0x40, 0x00, 0x00, 0, 0}},
          {"HARDENVELOPE rounded, flag", {{0x24, 1, 0, 0, 0, 0, 0xE8, 0x03}}, {0x24, 0x0C, 0, 0}},
          {"HARDENVELOPE 0 gives 1", {{0x24}}, {0x24, 0x01, 0, 0}},
          {"HARDENVELOPE above 7", {{0x24, 0, 0, 0, 0, 0, 0xD0, 0x07}}, {0x24, 0x07, 0, 0}},
          {"HARDENVELOPE low byte 0", {{0x24, 0, 0, 0, 0, 0, 0x60, 0xEA}}, {0x24, 0x01, 0, 0}},
          {"SETNOTE negative cents", {{0x30, 0x3C, 0xCE}}, {0x08, 0x00, 0x80, 0x3B, 0, 0}},
          {"ADDNOTE below key 0", {{0x31, 0x00, 0xCE, 0x01}}, {0x09, 0x01, 0x80, 0xFF, 0, 0}},
          {"RNDNOTE ordered", {{0x32, 0x3C, 0, 0x30, 0, 0, 1, 0}}, {0x16, 0x01, 0x00, 0x30, 0x00, 0x3C, 0, 0}},
          {"RNDNOTE signed keys", {{0x32, 0xFE, 0x32, 0, 0, 0, 0, 0}}, {0x16, 0x00, 0x00, 0x00, 0x80, 0xFF, 0, 0}},
          {"VIBRATO signed division", {{0x34, 0x00, 0xCE, 0, 0, 0, 0xE8, 0x03}}, {0x0A, 0x1E, 0xFC, 0xFF, 0, 0}},
          {"PITCHSWEEP signed division",
           {{0x35, 0x00, 0xCE, 0, 0, 7, 0xE8, 0x03}},
           {0x0B, 0x07, 0xFE, 0xFF, 0x80, 0xFF, 0, 0}},
          {"PANNING_MOD negated",
           {{0x25, 0x90, 0x10, 1, 5, 0, 0xE8, 0x03}},
           {0x2D, 0x05, 0x10, 0x90, 0xDE, 0xFD, 0, 0}},
          {"PANNING surround", {{0x20, 0x40, 1, 0x30}}, {0x07, 0xFF, 0x00, 0x00, 0, 0}},
          {"SETNOISE", {{0x18, 1, 1, 3}}, {0x21, 0x1B, 0, 0}},
          {"SETDUTY 4..254", {{0x17, 5}}, {0x20, 0x00, 0, 0}},
          {"SMP_SELECT",
           {{0x12, 0x07, 0x00, 1, 1, 0x0A, 0x0B, 0x0C}},
           {0x0F, 0x81, 0x01, 0x00, 0x0A, 0x0B, 0x0C, 0, 0, 0}},
          {"SMP_SELECT no sample", {{0x12}}, {0x0F, 0x00, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0}},
          {"SMP_LENLOOP",
           {{0x14, 2, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66}},
           {0x12, 0x82, 0x11, 0x22, 0x33, 0x00, 0x44, 0x55, 0x66, 0x00, 0, 0}},
          {"SMP_SHIFT", {{0x1C, 1, 2, 3, 4, 5, 6, 7}}, {0x30, 0x06, 1, 2, 3, 4, 5, 0, 0, 0}},
          {"PLAYMACRO", {{0x09, 0x20, 0x00, 3, 4, 0, 6, 7}}, {0x1E, 0x00, 0x07, 0x03, 0x04, 0x06, 0x01, 0x00, 0, 0}},
          {"SETADSR", {{0x22, 0x05, 0xC0, 0x09}}, {0x0E, 0x09, 0x01, 0x00, 0, 0}},
          {"STOP_MOD", {{0x38, 1, 0, 1, 0, 0, 0, 1}}, {0x1A, 0x45, 0, 0}},
          {"RESET_MOD", {{0x39, 1, 1, 1, 1, 1, 1, 1}}, {0x1B, 0x0F, 0, 0}},
          {"unsupported command", {{0x0F, 1, 2, 3}, {0x01}}, {0x01, 0x00, 0, 0}},
      });
}

TEST(AdvanceCompiler, KeepsTheVoiceAttributesOfSetvoice) {
  Project p({{0x16, 1, 0, 0, 0, 0, 1, 1}}, {{0x16, 2, 0, 0, 0, 0, 1, 0}});
  MacroCompilation mc(p.objects, CompileTarget::Advance);
  ASSERT_TRUE(mc.compileAll(p.out)) << p.text.str();  // one SETVOICE in each of two macros
  EXPECT_EQ(mc.macros()[0].bytes, (Bytes{0x1F, 0x00, 0, 0}));
  EXPECT_EQ(mc.macros()[0].attributeBytes(), (std::array<uint8_t, 4>{1, 0x81, 0, 0}));
  EXPECT_EQ(mc.macros()[1].attributeBytes(), (std::array<uint8_t, 4>{2, 0x00, 0, 0}));
}

TEST(AdvanceCompiler, StoresASamplemapAsCountAndEntries) {
  const Step entry{0x40, 0x07, 0x00, 0x55, 0x3C, 0x00, 0x11, 0x22};
  Project p({entry, entry, entry});
  MacroCompilation mc(p.objects, CompileTarget::Advance);
  ASSERT_TRUE(mc.compileAll(p.out)) << p.text.str();
  Bytes expected{0x03, 0x00};
  for (int i = 0; i < 3; ++i) expected.insert(expected.end(), {0x01, 0x00, 0x00, 0x3C, 0x11, 0x22, 0x55, 0x00});
  EXPECT_EQ(mc.macros()[0].bytes, expected);
  EXPECT_TRUE(mc.macros()[0].samplemap);
  EXPECT_EQ(mc.macros()[0].attributeBytes()[2], 1);
}

std::vector<Step> repeat(const Step& s, int n) { return std::vector<Step>(std::size_t(n), s); }

std::vector<Step> operator+(std::vector<Step> a, const std::vector<Step>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const std::string kMacroError = "*** ERROR: Error in macro (id=1)!\n";

TEST(AdvanceCompiler, FailsWithTheStepsMessage) {
  const Step shift{0x1C};
  expectFailures(CompileTarget::Advance,
                 {
                     {"LOOP to itself",
                      {{0x02}, {0x03, 0, 0, 0, 1, 0}},
                      {},
                      "*** ERROR: Loop target step must be above the loop step itself!\n" + kMacroError},
                     {"second SETVOICE",
                      {{0x16}, {0x16}},
                      {},
                      "*** ERROR: Cannot use SETVOICE more than once in a macro!\n" + kMacroError},
                     {"samplemap with another step",
                      {{0x40, 7}, {0x01}},
                      {},
                      "*** ERROR: Samplemap macro can only consist of samplemap entries!\n" + kMacroError},
                     {"unknown sample", {{0x1B, 0x08}}, {}, kMacroError},
                     {"unknown macro in a step reference", {{0x04, 0, 0x21, 0}}, {}, kMacroError},
                     {"32760 bytes with END",
                      repeat(shift, 4094) + std::vector<Step>{{0x19}},
                      {},
                      "*** ERROR: Binary macro representation too long!\n" + kMacroError},
                     {"more steps than offsets",
                      repeat(Step{0x0F}, 32768),
                      {},
                      "*** ERROR: Binary macro representation too long!\n" + kMacroError},
                     {"second macro fails", {}, {{0x0A, 0x99}}, "*** ERROR: Error in macro (id=32)!\n"},
                 });
  Project p(repeat(shift, 4094));  // 32752 + END = 32754 bytes
  EXPECT_TRUE(MacroCompilation(p.objects, CompileTarget::Advance).compileAll(p.out)) << p.text.str();
}

TEST(AdvanceCompiler, FailsAMacroWithoutEnd) {
  Project p({});
  p.objects.find(TargetObjectType::Macro, 1)->payload = stepBytes({{0x01}});
  MacroCompilation mc(p.objects, CompileTarget::Advance);
  EXPECT_FALSE(mc.compileAll(p.out));
  EXPECT_EQ(p.text.str(), "*** ERROR: Macro ends without an END step!\n" + kMacroError);
}

TEST(HandheldCompiler, TranslatesEveryComputingRow) {
  expectRows(CompileTarget::GameBoy,
             {
                 {"END only", {}, {0x00}},
                 {"7 ticks plus one", {{0x07, 3, 0, 0, 0, 0, 0x96, 0x00}}, {0x04, 0x03, 0x00, 0x00, 0x0A, 0}},
                 {"7 forever with b2", {{0x07, 3, 1, 0, 0, 0, 0xFF, 0xFF}}, {0x04, 0x03, 0x01, 0x00, 0x01, 0}},
                 {"7 nothing", {{0x07, 3}}, {0x04, 0x03, 0x00, 0x00, 0x00, 0}},
                 {"5 loop offset", {{0x07}, {0x05, 0, 0, 0, 0, 0, 2}}, {0x04, 0, 0, 0, 0, 0x05, 0x02, 0xFF, 0xF7, 0}},
                 {"8 channel and macro", {{0x08, 0x02, 0x20, 0x00, 1}}, {0x26, 0x82, 0x01, 0}},
                 {"11 channel 4..254", {{0x0B, 5}}, {0x0E, 0xFF, 0}},
                 {"11 with s5 and s4", {{0x0B, 2, 0, 0, 1, 1}}, {0x0E, 0x92, 0}},
                 {"11 with s5", {{0x0B, 5, 0, 0, 0, 1}}, {0x0E, 0x11, 0}},
                 {"12 table", {{0x0C, 0x05, 0xC0}}, {0x0F, 0x01, 0}},
                 {"13 small", {{0x0D, 5}}, {0x09, 0x01, 0}},
                 {"13 shifted", {{0x0D, 0x40}}, {0x09, 0x08, 0}},
                 {"14 bands", {{0x0E, 41}, {0x0E, 42}, {0x0E, 84}}, {0x0A, 0, 0x0A, 1, 0x0A, 2, 0}},
                 {"15 up", {{0x0F, 1, 0, 0, 0, 0, 0xE8, 0x03}}, {0x27, 0x00, 0x40, 0}},
                 {"15 down", {{0x0F, 0, 0, 0, 0, 0, 0xE8, 0x03}}, {0x11, 0xFF, 0xC0, 0}},
                 {"16 sample", {{0x10, 0x07}}, {0x21, 0x01, 0}},
                 {"21 noise", {{0x15, 1, 1, 3}}, {0x10, 0x1B, 0}},
                 {"22 pitch and time", {{0x16, 0x3C, 0xCE, 0, 0, 0, 0xE8, 0x03}}, {0x1B, 0x3B, 0x80, 0x00, 0x3C, 0}},
                 {"23 equal keys", {{0x17, 0x3C, 0xCE, 0x3C, 1, 2}}, {0x0B, 0x82, 0x3C, 0x3D, 0x80, 0}},
                 {"23 equal keys at 127", {{0x17, 0x7F, 0, 0x7F}}, {0x0B, 0x00, 0x7E, 0x7F, 0x00, 0}},
                 {"24", {{0x18, 0x3C, 0xCE}}, {0x08, 0x01, 0x3C, 0x80, 0}},
                 {"28 signed division", {{0x1C, 0x00, 0xCE, 0, 0, 0, 0xE8, 0x03}}, {0x01, 0xFF, 0xFC, 0x1E, 0}},
                 {"29", {{0x1D, 1, 0, 0, 0, 1, 0xE8, 0x03}}, {0x03, 0x00, 0x04, 0x01, 0x00, 0x80, 0}},
                 {"29 signed", {{0x1D, 0, 0xCE, 0, 0, 0, 0xE8, 0x03}}, {0x03, 0xFF, 0xFE, 0xFF, 0x80, 0x00, 0}},
                 {"30", {{0x1E, 1, 0, 0, 0, 0, 0xE8, 0x03}}, {0x13, 0x0C, 0}},
                 {"31 sweep", {{0x1F, 0x80, 0x20, 0xE8, 0x03}}, {0x1D, 0x20, 0x80, 0x01, 0x99, 0}},
                 {"32 no time", {{0x20, 0x80, 0x20}}, {0x1E, 0x20, 0x80, 0x00, 0x00, 0}},
                 {"35", {{0x23, 0x0F}}, {0x1A, 0x07, 0}},
                 {"38 no sample", {{0x26}}, {0x0C, 0xFF, 0}},
                 {"39", {{0x27, 5, 1}}, {0x29, 0x01, 0x05, 0}},
                 {"unsupported command", {{0x2A, 1}, {0x01}}, {0x23, 0}},
             });
}

TEST(HandheldCompiler, KeymapMacroTakesUpTo128Entries) {
  Project p(repeat(Step{0x24, 0x07}, 128));
  MacroCompilation mc(p.objects, CompileTarget::GameBoy);
  ASSERT_TRUE(mc.compileAll(p.out)) << p.text.str();
  EXPECT_EQ(mc.keymapMacro(), 0);
  EXPECT_EQ(mc.keymapEntries(), 128);
  Bytes expected(128, 0x01);
  expected.push_back(0);
  EXPECT_EQ(mc.macros()[0].bytes, expected);
}

TEST(HandheldCompiler, FailsWithTheStepsMessage) {
  const Step key{0x24, 0x07};
  expectFailures(
      CompileTarget::GameBoy,
      {
          {"11 as the second step", {{0x01}, {0x0B}}, {}, kMacroError},
          {"loop to a later step",
           {{0x05, 0, 0, 0, 1}, {0x01}},
           {},
           "*** ERROR: Loop target step must be above the loop step itself!\n" + kMacroError},
          {"129 keymap entries", repeat(key, 129), {}, "*** ERROR: Too many entries in keymap macro!\n" + kMacroError},
          {"keymap after another step",
           {{0x01}, key},
           {},
           "*** ERROR: Only keymap commands are allowed in the keymap macro!\n" + kMacroError},
          {"another step after the keymap",
           {key, {0x01}},
           {},
           "*** ERROR: Only keymap commands are allowed in the keymap macro!\n" + kMacroError},
          {"two keymap macros",
           {key},
           {key},
           "*** ERROR: Only one keymap macro is possible in the entire project!\n*** ERROR: Error in macro (id=32)!\n"},
          {"504 bytes with END", repeat(Step{0x1B}, 83) + std::vector<Step>{{0x07}}, {}, kMacroError},
          {"more steps than offsets", repeat(Step{0x2A}, 512), {}, kMacroError},
      });
  for (const auto& steps : {repeat(Step{0x1B}, 83), repeat(Step{0x2A}, 511)}) {
    Project p(steps);  // 499 bytes; 512 offsets with END
    EXPECT_TRUE(MacroCompilation(p.objects, CompileTarget::GameBoy).compileAll(p.out)) << p.text.str();
  }
}

// Macro 1: STOP, a jump into macro 0x20 at step 1 (landing on the STOP
// behind an unsupported command); macro 0x20: unsupported, STOP, END.
TEST(Relocation, AdvancePatchesTheDistanceAcrossMacros) {
  Project p({{0x01}, {0x04, 0, 0x20, 0, 1, 0}}, {{0x0F}, {0x01}});
  MacroCompilation mc(p.objects, CompileTarget::Advance);
  ASSERT_TRUE(mc.compileAll(p.out));
  ASSERT_EQ(mc.relocations().size(), 1u);
  // Attribute bytes at 0 and 14, macro 1 at 4 (10 bytes), macro 0x20 at 18.
  Bytes file(22, 0);
  const std::vector<uint32_t> offsets{4, 18};
  ASSERT_TRUE(applyAdvanceRelocations(mc, offsets, file, p.out)) << p.text.str();
  // (18 + 0) - (4 + 2): the step at offset 2 of macro 1 to macro 0x20's STOP.
  EXPECT_EQ(Bytes(file.begin() + 8, file.begin() + 12), (Bytes{12, 0, 0, 0}));
}

TEST(Relocation, GameBoyPatchesTheTargetOffsetBigEndian) {
  Project p({{0x01}, {0x06, 0, 0x20, 0, 2, 0}}, {{0x2A}, {0x01}, {0x01}});
  MacroCompilation mc(p.objects, CompileTarget::GameBoy);
  ASSERT_TRUE(mc.compileAll(p.out));
  // Offset table 4 bytes; macro 1 (23 06 00 00 00) at 4, macro 0x20 (23 23 00) at 9.
  Bytes area{0, 0, 0, 0};
  for (const auto& m : mc.macros()) area.insert(area.end(), m.bytes.begin(), m.bytes.end());
  const std::vector<uint16_t> starts{4, 9};
  ASSERT_TRUE(applyGameBoyRelocations(mc, starts, area, p.out)) << p.text.str();
  EXPECT_EQ(Bytes(area.begin() + 4, area.begin() + 9), (Bytes{0x23, 0x06, 0x00, 0x0A, 0x00}));
}

TEST(Relocation, RefusesStepsPastEndAndUnknownWidths) {
  const std::string illegal = "**** ERROR: Illegal macro target step reference found! Cannot convert!\n";
  struct Case {
    CompileTarget target;
    Step jump;
    uint8_t width;  // 0: as compiled
    std::string text;
    bool ok;
  };
  const std::vector<Case> cases{
      {CompileTarget::Advance, {0x04, 0, 0x20, 0, 2, 0}, 0, illegal, false},
      {CompileTarget::GameBoy, {0x06, 0, 0x20, 0, 2, 0}, 0, illegal, false},
      {CompileTarget::Advance, {0x04, 0, 0x20, 0, 1, 0}, 1, "*** WARNING: Unsupported 8 bit relocation!\n", true},
      {CompileTarget::Advance, {0x04, 0, 0x20, 0, 1, 0}, 2, "*** WARNING: Unsupported 16 bit relocation!\n", true},
      {CompileTarget::Advance, {0x04, 0, 0x20, 0, 1, 0}, 3, "*** ERROR: Unhandled macro relocation code!\n", false},
  };
  for (const Case& c : cases) {
    Project p({c.jump}, {{0x01}});  // macro 0x20: END at step 1
    MacroCompilation mc(p.objects, c.target);
    ASSERT_TRUE(mc.compileAll(p.out));
    if (c.width != 0) {
      Relocation r = mc.relocations()[0];
      r.width = c.width;
      mc.addRelocation(r);  // applied first, being the newest
    }
    Bytes bytes(64, 0);
    const std::vector<uint32_t> offsets{4, 20};
    const std::vector<uint16_t> starts{4, 20};
    const bool ok = c.target == CompileTarget::Advance ? applyAdvanceRelocations(mc, offsets, bytes, p.out)
                                                       : applyGameBoyRelocations(mc, starts, bytes, p.out);
    EXPECT_EQ(ok, c.ok) << c.text;
    EXPECT_EQ(p.text.str(), c.text);
  }
}

}  // namespace
}  // namespace voconv
