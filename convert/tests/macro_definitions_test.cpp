#include <gtest/gtest.h>

#include <sstream>

#include "convert/foundation/id_tables.h"
#include "convert/macros/macro_definitions.h"

using namespace voconv;

namespace {

struct Parsed {
  CommandTable table;
  std::string out;
};

Parsed parse(const std::string& text, bool verbose = false) {
  Parsed p;
  std::ostringstream s;
  common::Output out(s);
  parseMacroDefinitions(text, p.table, out, verbose);
  p.out = s.str();
  return p;
}

}  // namespace

TEST(MacroDefinitions, ReadsValueItemsWithoutRegardToCaseOrBlanks) {
  const Parsed p = parse("[$0a]\nType = Structure\nName = KEYOFF_MACRO\n"
                         " value = 16BIT@byte 2 , minvalue=0 , MAXVALUE=65535, presetvalue = 1, type=VAL_SoundMacroID ,"
                         " reference = soundmacro , Hint=Macro ID\n"
                         "Value=8bit@byte1\n"
                         "Value=32bit@byte4,Reference=SoundMacroLoopStep\n"
                         "Value=24bit@byte5,Reference=KEYMAP\n");
  EXPECT_EQ(p.out, "");
  const auto& refs = p.table.commandReferences(0x0a);
  ASSERT_EQ(refs.size(), 4u);
  EXPECT_EQ(refs[0], (ParameterReference{16, 2, ReferenceKind::SoundMacro}));
  EXPECT_EQ(refs[1], (ParameterReference{8, 1, ReferenceKind::None}));
  EXPECT_EQ(refs[2], (ParameterReference{32, 4, ReferenceKind::MacroStep}));
  EXPECT_EQ(refs[3], (ParameterReference{24, 5, ReferenceKind::Keymap}));
}

TEST(MacroDefinitions, WarnsAboutUnknownItemsAndReferenceNames) {
  const Parsed p = parse("[$12]\nValue=16bit@byte1,Reference=Sprocket,hint=lower,Colour=red,Hint=fine\n");
  EXPECT_EQ(p.out, "*** Warning: Found unknown reference type 'Sprocket'\n"
                   "*** Warning: Unknown command definition parameter 'hint=lower' delected.\n"
                   "*** Warning: Unknown command definition parameter 'Colour=red' delected.\n");
  ASSERT_EQ(p.table.commandReferences(0x12).size(), 1u);
  EXPECT_EQ(p.table.commandReferences(0x12)[0].kind, ReferenceKind::None);
}

TEST(MacroDefinitions, OnlyCommandSectionsCountAndLaterSectionsReplace) {
  const Parsed p = parse("[Soundmacro.Commanddef]\nSystem=N64\nValue=16bit@byte1,Reference=Sample\n"
                         "[Template_begin]\nValue=16bit@byte1,Reference=Sample\n[Template_end]\n"
                         "[$10]\nValue=16bit@byte1,Reference=Sample\nValue=16bit@byte3,Reference=Table\n"
                         "[$11\nValue=16bit@byte1,Reference=Sample\n"  // no ']': skipped up to the next command
                         "[$10]\nValue=16bit@byte2,Reference=SoundMacro\n"
                         "[$1FF]\nValue=8bit@byte7\n"                      // reduced to its low 8 bits
                         "[Other]\nValue=16bit@byte3,Reference=Table\n");  // still command 0xff
  EXPECT_EQ(p.table.size(), 2u);
  ASSERT_EQ(p.table.commandReferences(0x10).size(), 1u);
  EXPECT_EQ(p.table.commandReferences(0x10)[0], (ParameterReference{16, 2, ReferenceKind::SoundMacro}));
  EXPECT_TRUE(p.table.commandReferences(0x11).empty());
  ASSERT_EQ(p.table.commandReferences(0xff).size(), 2u);
  EXPECT_EQ(p.table.find(0), nullptr);
}

TEST(MacroDefinitions, VerboseModeListsEachCommand) {
  const Parsed p = parse("[$0a]\nValue=16bit@byte1,Reference=SoundMacro\n[$12]\nValue=16bit@byte1,Reference=Sample\n"
                         "Value=16bit@byte4,Reference=Table\n[$13]\n",
                         true);
  EXPECT_EQ(p.out, "0x0a : [1:16-2] \n0x12 : [1:16-1] [4:16-4] \n0x13 : \n");
}

TEST(MacroDefinitions, MissingFileFails) {
  std::ostringstream s;
  common::Output out(s);
  CommandTable table;
  EXPECT_FALSE(readMacroDefinitions("no/such/macrodef.vqd", table, out, false));
  EXPECT_EQ(s.str(), "*** Could not open macro definition file <no/such/macrodef.vqd>\n");
}

TEST(MacroOperands, RenumbersEachReferenceKindWithTheMacrosScript) {
  const Parsed p = parse("[$0a]\nValue=16bit@byte1,Reference=SoundMacro\n"
                         "[$12]\nValue=16bit@byte1,Reference=Sample\nValue=16bit@byte3,Reference=Table\n"
                         "Value=16bit@byte5,Reference=Keymap\n"
                         "[$04]\nValue=16bit@byte2,Reference=SoundMacro\nValue=16bit@byte4,Reference=SoundMacroStep\n"
                         "[$20]\nValue=16bit@byte7,Reference=Sample\n");  // would reach past the step: left alone
  IdTables ids;
  ids.clear();
  ids.startScript(0);
  ids.macro(5);
  ids.sample(9);
  ids.table(3);
  ids.macro(1);
  ids.startScript(1);  // the macros below come from the second script
  std::vector<uint8_t> steps = {
      0x0a, 5,    0, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE,  // KEYOFF_MACRO of macro 5
      0x12, 9,    0, 3,    0,    7,    0,    0xEE,  // sample 9, table 3, keymap 7
      0x04, 0xEE, 1, 0,    2,    0,    0xEE, 0xEE,  // GOTO macro 1, step 2
      0x20, 9,    9, 9,    9,    9,    9,    9,     // reference at byte 7
      0x33, 5,    0, 5,    0,    5,    0,    5,     // unknown command
      0x00, 0,    0, 0,    0,    0,    0,    0,
  };
  std::vector<uint8_t> expected = steps;
  renumberMacroOperands(steps, 1, p.table, ids);
  // Used after script 0: macros 1 and 5, sample 9, table 3.
  // Script 1: macro 5 -> 2 (1 is taken), sample 9 -> 1, table 3 -> 1 with 0xC000, macro 1 -> 3.
  expected[1] = 2;
  expected[9] = 1;
  expected[11] = 0x01;
  expected[12] = 0xC0;
  expected[18] = 3;
  EXPECT_EQ(steps, expected);
}
