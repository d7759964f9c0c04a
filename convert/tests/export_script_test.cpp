#include <gtest/gtest.h>

#include <sys/stat.h>

#include "common/testing/cli_run.h"
#include "convert/foundation/fatal_error.h"
#include "convert/project/export_script.h"
#include "test_conversion.h"

using namespace voconv;
using voconv::testing::TestConversion;

namespace {

// Runs in a temporary folder so that keymap and layer files can be written.
class ExportScript : public ::testing::Test {
 protected:
  void SetUp() override {
    cwd_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
  }
  void TearDown() override { std::filesystem::current_path(cwd_); }

  bool parse(const std::string& text, int script = 0) { return run_.readScript(text, "s.txt", script); }
  ProjectModel& model() { return run_->model; }

  testing_support::TempDir dir_;
  std::filesystem::path cwd_;
  TestConversion run_;
};

std::vector<uint8_t> keymapFile(uint16_t firstObject, uint16_t secondObject) {
  std::vector<uint8_t> bytes(1024, 0);
  bytes[0] = uint8_t(firstObject);
  bytes[1] = uint8_t(firstObject >> 8);
  bytes[2] = 0x11;
  bytes[3] = 0x22;
  bytes[4] = 0x34;
  bytes[5] = 0x12;
  bytes[6] = 0xAA;  // skipped
  bytes[8] = uint8_t(secondObject);
  bytes[9] = uint8_t(secondObject >> 8);
  return bytes;
}

std::vector<uint16_t> keys(const KeyedList<SampleRecord>& list) {
  std::vector<uint16_t> k;
  for (const auto& r : list) k.push_back(uint16_t(r.key));
  return k;
}

}  // namespace

TEST_F(ExportScript, ReadsObjectSectionsAndListsThemInVerboseMode) {
  run_->settings.verbose = true;
  dir_.write("km.bin", keymapFile(0x0005, 0));
  ASSERT_TRUE(parse("Projectpath=C:\\Sound\\Demo\n[Samples]\n1,a.wav,2(ADPCM)\n3,b.wav,0\n[Soundmacros]\n4,m.mac\n"
                    "[Keymaps]\n2,km.bin\n[Tables]\n6,t.tab\n",
                    2))
      << run_.output();
  EXPECT_EQ(run_.output(), "Original project path: C:\\Sound\\Demo\n"
                           "Sample ID 1 is file <a.wav> (type=2)\n"
                           "Sample ID 3 is file <b.wav> (type=0)\n"
                           "Macro ID 4 is file <m.mac>\n"
                           "Keymap ID 16386 is file <km.bin>\n"
                           "Curve ID 49158 is file <t.tab>\n");
  EXPECT_EQ(model().samples.find(1)->type, 2);
  EXPECT_EQ(model().macros.find(4)->scriptIndex, 2);
  const KeymapRecord* km = model().keymaps.find(0x4002);
  ASSERT_NE(km, nullptr);
  EXPECT_EQ(km->keys[0].objectId, 5);
  EXPECT_EQ(km->keys[0].bytes, (std::array<uint8_t, 2>{0x11, 0x22}));
  EXPECT_EQ(km->keys[0].word, 0x1234);
  EXPECT_EQ(km->keys[1].objectId, 0xFFFF);  // object 0: none, not renumbered
  EXPECT_EQ(km->keys[127].objectId, 0xFFFF);
  EXPECT_FALSE(run_->ids.table(IdKind::SoundMacro).used(0));
}

TEST_F(ExportScript, MergesScriptsAndEveryReferenceFollowsTheRenumbering) {
  ASSERT_TRUE(parse("[Samples]\n1,first.wav,0\n[Soundmacros]\n1,first.mac\n", 0));
  ASSERT_TRUE(parse("[Samples]\n1,second.wav,1\n[Soundmacros]\n1,second.mac\n"
                    "[Songgroup]\nName=Music\nSample=1\nSoundmacro=1\nNormPageEntry=5,1,9,2,0\n"
                    "[SFXgroup]\nName=Fx\nSFXEntry=77,1,1,2,3,4,5,Boom\nSample=1\n",
                    1));
  EXPECT_EQ(model().samples.find(1)->fileName, "first.wav");
  EXPECT_EQ(model().samples.find(2)->fileName, "second.wav");  // lowest free number
  EXPECT_EQ(model().macros.find(2)->fileName, "second.mac");
  const SongGroup* music = model().songGroupByName("Music");
  ASSERT_NE(music, nullptr);
  EXPECT_EQ(music->members.samples, std::vector<uint16_t>{2});
  EXPECT_EQ(music->members.macros, std::vector<uint16_t>{2});
  EXPECT_EQ(music->normalPage.find(5)->objectId, 2);
  const SoundEffectGroup* fx = model().soundEffectGroupByName("Fx");
  ASSERT_NE(fx, nullptr);
  EXPECT_EQ(fx->members.samples, std::vector<uint16_t>{2});
  EXPECT_EQ(fx->effects.find(0)->objectId, 2);
  EXPECT_EQ(fx->number, 1);  // song and effect groups share the group numbers
}

TEST_F(ExportScript, RepeatedIdWithinAScriptReplacesAndMovesToTheEnd) {
  ASSERT_TRUE(parse("[Samples]\n1,a.wav,0\n2,b.wav,0\n1,c.wav,0\n"));
  EXPECT_EQ(keys(model().samples), (std::vector<uint16_t>{2, 1}));
  EXPECT_EQ(model().samples.find(1)->fileName, "c.wav");
}

TEST_F(ExportScript, LayerFilesKeepWholeRecordsOnly) {
  for (size_t size : {18u, 20u}) {
    std::vector<uint8_t> bytes(size, 0);
    bytes[0] = 3;     // object 3
    bytes[2] = 0xA1;  // four bytes
    bytes[5] = 0xA4;
    bytes[6] = 0x5B;  // the single byte
    bytes[7] = 0x34;  // the 16-bit value
    bytes[8] = 0x12;
    dir_.write("ly.bin", bytes);
    TestConversion run;
    ASSERT_TRUE(run.readScript("[Layers]\n1,ly.bin\n", "s.txt", 0));
    const LayerRecord* layer = run->model.layers.find(0x8001);
    ASSERT_NE(layer, nullptr);
    ASSERT_EQ(layer->entries.size(), 2u) << size;
    EXPECT_EQ(layer->entries[0].objectId, 3);
    EXPECT_EQ(layer->entries[0].bytes, (std::array<uint8_t, 4>{0xA1, 0, 0, 0xA4}));
    EXPECT_EQ(layer->entries[0].lastByte, 0x5B);
    EXPECT_EQ(layer->entries[0].word, 0x1234);
    EXPECT_EQ(layer->entries[1].objectId, 0xFFFF);
  }
}

TEST_F(ExportScript, ShortKeymapFileWarnsAndLeavesMissingKeysEmpty) {
  dir_.write("km.bin", std::vector<uint8_t>{7, 0, 1, 2, 3, 4, 0, 0, 9});
  ASSERT_TRUE(parse("[Keymaps]\n1,km.bin\n"));
  EXPECT_EQ(run_.output(),
            "*** Warning: Keymap file <km.bin> holds 9 bytes instead of 1024; the missing keys are left empty.\n");
  const KeymapRecord* km = model().keymaps.find(0x4001);
  EXPECT_EQ(km->keys[0].objectId, 7);
  EXPECT_EQ(km->keys[1].objectId, 9);
  EXPECT_EQ(km->keys[2].objectId, 0xFFFF);
}

TEST_F(ExportScript, SoundEffectIdsFollowTheLineOrder) {
  ASSERT_TRUE(parse("[SFXgroup]\nSFXEntry=50,1,0,0,0,0,0,A\nSFXEntry=3,2,0,0,0,0,0,B\n"
                    "[SFXgroup]\nSFXEntry=0,3,0,0,0,0,0\n"));
  std::vector<std::pair<uint32_t, std::string>> seen;
  for (const auto& g : model().soundEffectGroups) {
    for (const auto& e : g.value.effects) seen.emplace_back(e.key, e.value.name);
  }
  EXPECT_EQ(seen, (std::vector<std::pair<uint32_t, std::string>>{{0, "A"}, {1, "B"}, {2, ""}}));
  ASSERT_TRUE(parse("[SFXgroup]\nSFXEntry=0,3,0,0,0,0,0,C\n", 1));  // the counter starts again per script
  EXPECT_NE(model().soundEffectGroups.find(2)->effects.find(3), nullptr);
}

TEST_F(ExportScript, GroupNamesAlreadyDefinedWarnButAreAdded) {
  ASSERT_TRUE(
      parse("[Songgroup]\nName=Music\n[SFXgroup]\nName=Music\n[Songgroup]\nName=Music\n[SFXgroup]\nName=Music\n"));
  EXPECT_EQ(run_.output(), "*** Warning: Song group name <Music> is already defined in another project.\n"
                           "*** Warning: FX group name <Music> is already defined in another project.\n");
  EXPECT_EQ(model().songGroups.size(), 2u);
  EXPECT_EQ(model().songGroupByName("Music")->number, 0);
  EXPECT_EQ(model().soundEffectGroupByName("Music")->number, 1);
  EXPECT_EQ(model().songGroupByName("music"), nullptr);
}

TEST_F(ExportScript, MidiSetupsRegisterOnceAndFillTheirChannels) {
  run_->settings.verbose = true;
  ASSERT_TRUE(parse("[Songgroup]\nName=A\nMidiSetup\n{\nName=Intro\nFilename=intro.mid\nChannelsetup=1,5,100,64,10,20\n"
                    "Channelsetup=16,1,2,3,4,5\nIgnored=1\n}\n"
                    "[Songgroup]\nName=B\nMidiSetup\n{\nName=Intro\nFilename=other.mid\nChannelsetup=2,0,0,0,0,0\n}\n"
                    "MidiSetup\n{\nName=Empty\nFilename=e.mid\n}\n"))
      << run_.output();
  ASSERT_EQ(run_.toolRuns.size(), 1u);  // the second "Intro" shares the first one's ID
  const SongGroup* a = model().songGroupByName("A");
  const MidiSetupEntry* setup = a->midiSetups.find(0);
  ASSERT_NE(setup, nullptr);
  EXPECT_EQ(setup->name, "Intro");
  EXPECT_EQ(setup->channels[0].prg, 5);
  EXPECT_EQ(setup->channels[0].cho, 20);
  EXPECT_EQ(setup->channels[15].cho, 5);
  EXPECT_NE(model().songGroupByName("B")->midiSetups.find(0), nullptr);
  EXPECT_EQ(run_->midiSetups.setups().size(), 1u);  // a block without channels registers nothing
  EXPECT_NE(run_.output().find("  MIDIsetup:\n    Name: <Intro>\n    File: <intro.mid>\n"
                               "Using external tool to convert <MIDIfiles/intro.mid>...\n"
                               "CMD: mid2trk -P MIDIfiles/intro.mid Intro.song\n    ID=0\n"
                               "    Channel[0]: prg=5 vol=100 pan=64 rev=10 cho=20\n"),
            std::string::npos)
      << run_.output();
}

TEST_F(ExportScript, EmptySongFileNameUsesTheSetupName) {
  ASSERT_TRUE(parse("[Songgroup]\nMidiSetup\n{\nName=theme\nFilename=\nChannelsetup=1,0,0,0,0,0\n}\n"));
  EXPECT_EQ(run_.output(), "*** Warning: MIDIsetup does not contain a valid song filename. Using name of group.\n"
                           "Using external tool to convert <MIDIfiles/theme>...\n");
  ASSERT_EQ(run_.toolRuns.size(), 1u);
  EXPECT_EQ(run_.toolRuns[0], (std::vector<std::string>{"kvtool", "MIDIfiles/theme", "theme.song"}));
}

TEST_F(ExportScript, FailedToolRegistersTheSetupUnderNoObject) {
  run_.toolExitCode = 3;
  ASSERT_TRUE(parse("[Songgroup]\nMidiSetup\n{\nName=x\nFilename=x.mid\nChannelsetup=1,0,0,0,0,0\n}\n"));
  EXPECT_EQ(run_.output(), "Using external tool to convert <MIDIfiles/x.mid>...\n"
                           "*** Warning: Error 3 while executing external program.\ntool said no\n");
  EXPECT_NE(model().songGroups.begin()->value.midiSetups.find(0xFFFF), nullptr);
  EXPECT_NE(run_->midiSetups.find("x"), nullptr);
  EXPECT_TRUE(run_->failed());
}

TEST_F(ExportScript, FailuresStopTheScriptWithTheirMessage) {
  struct Case {
    const char* script;
    const char* message;
  };
  const Case cases[] = {
      {"Name=x\n", "*** Unknown token in main section.\n<Name=x>\n*** In <s.txt>, line 1.\n"},
      {"[samples]\n", "*** Unknown section marker found.\n<[samples]>\n*** In <s.txt>, line 1.\n"},
      {"[Samples] x\n", "*** Unknown section marker found.\n<[Samples] x>\n*** In <s.txt>, line 1.\n"},
      {"[Samples]x\n", "*** Unknown section marker found.\n<[Samples]x>\n*** In <s.txt>, line 1.\n"},
      {"[Keymaps]\n1,none.bin\n", "*** Could not read keymap file.\n*** In <s.txt>, line 2.\n"},
      {"[Layers]\n1,none.bin\n", "*** Could not open layer file <none.bin> for input.\n*** In <s.txt>, line 2.\n"},
      {"[Songgroup]\nVolume=3\n", "*** Unknown token in song group section.\n<Volume=3>\n*** In <s.txt>, line 2.\n"},
      {"[SFXgroup]\nNormPageEntry=1\n",
       "*** Unknown token in SFX group section.\n<NormPageEntry=1>\n*** In <s.txt>, line 2.\n"},
      {"[Songgroup]\nMidiSetup\nName=x\n", "*** Missing '{' at begin of MIDI setup.\n*** In <s.txt>, line 3.\n"},
      {"[Songgroup]\nMidiSetup\n", "*** Missing '{' at begin of MIDI setup.\n*** In <s.txt>, line 2.\n"},
      {"[Songgroup]\nMidiSetup\n{\nName=\n}\n",
       "*** MIDIsetup does not contain a valid name.\n*** In <s.txt>, line 4.\n"},
      {"[Songgroup]\nMidiSetup\n{\nName=a\nChannelsetup=1,0,0,0,0,0\n}\n",
       "*** Name and filename of MIDI setups must be defined before any data.\n*** In <s.txt>, line 5.\n"},
      {"[Songgroup]\nMidiSetup\n{\nName=a\nFilename=a.mid\nChannelsetup=17,0,0,0,0,0\n}\n",
       "*** MIDI channel number must be 1 to 16 (found: 17).\n*** In <s.txt>, line 6.\n"},
      {"[Songgroup]\nMidiSetup\n{\nName=a\nFilename=a.mid\nChannelsetup=0,0,0,0,0,0\n}\n",
       "*** MIDI channel number must be 1 to 16 (found: 0).\n*** In <s.txt>, line 6.\n"},
      {"[Songgroup]\nMidiSetup\n{\nName=a\n", "*** Missing '}' at end of MIDI setup.\n*** In <s.txt>, line 4.\n"},
  };
  for (const auto& c : cases) {
    TestConversion run;
    EXPECT_FALSE(run.readScript(c.script, "s.txt", 0)) << c.script;
    EXPECT_EQ(run.output(), c.message) << c.script;
    EXPECT_TRUE(run.toolRuns.empty());
  }
  TestConversion run;
  const std::string longName(128, 'n');
  EXPECT_FALSE(run.readScript("[Songgroup]\nMidiSetup\n{\nName=" + longName + "\n}\n", "s.txt", 0));
  EXPECT_EQ(run.output(),
            "*** MIDI setup name <" + longName + "> is longer than 127 characters.\n*** In <s.txt>, line 4.\n");
}

TEST_F(ExportScript, WhatWasReadBeforeAFailureStays) {
  EXPECT_FALSE(parse("[Samples]\n1,a.wav,0\n[Bogus]\n2,b.wav,0\n"));
  EXPECT_EQ(keys(model().samples), std::vector<uint16_t>{1});
}

TEST_F(ExportScript, OutOfIdsIsFatal) {
  std::string first = "[Samples]\n";
  for (int n = 1; n <= kHighestNewId; ++n) first += std::to_string(n) + ",s.wav,0\n";
  ASSERT_TRUE(parse(first, 0));
  EXPECT_THROW(parse("[Samples]\n5,t.wav,0\n", 1), FatalError);
}

TEST_F(ExportScript, KeysAreMatchedByTheirLeadingCharacters) {
  // "Sample" matches "Samples=3" too, whose value starts one character after the key.
  ASSERT_TRUE(parse("[Songgroup]\nSamples=3\nLayer 9\n"));
  const SongGroup& g = model().songGroups.begin()->value;
  EXPECT_EQ(g.members.samples, std::vector<uint16_t>{0});  // value "=3" reads as 0
  EXPECT_EQ(g.members.layers, std::vector<uint16_t>{0x8009});
}

TEST_F(ExportScript, MemberIdsSkipLeadingBlanksLikeEveryOtherField) {
  ASSERT_TRUE(parse("[Songgroup]\nSoundmacro= 9\nSample=  3\nTable= 4\nKeymap= 5\nLayer= 6\n"));
  const GroupMembers& m = model().songGroups.begin()->value.members;
  EXPECT_EQ(m.macros, std::vector<uint16_t>{9});
  EXPECT_EQ(m.samples, std::vector<uint16_t>{3});
  EXPECT_EQ(m.tables, std::vector<uint16_t>{0xC004});
  EXPECT_EQ(m.keymaps, std::vector<uint16_t>{0x4005});
  EXPECT_EQ(m.layers, std::vector<uint16_t>{0x8006});
}

TEST_F(ExportScript, NamesLongerThanTheirFieldsFailTheScript) {
  const auto name = [](size_t length) { return std::string(length, 'n'); };
  const auto tooLong = [&](const char* what, size_t limit, int line) {
    return "*** " + std::string(what) + " <" + name(limit + 1) + "> is longer than " + std::to_string(limit) +
           " characters.\n*** In <s.txt>, line " + std::to_string(line) + ".\n";
  };
  const std::string setup = "[Songgroup]\nMidiSetup\n{\nName=a\nFilename=";
  struct Case {
    std::string script;
    std::string message;
  };
  const Case cases[] = {
      {"[Songgroup]\nName=" + name(128), tooLong("Song group name", 127, 2)},
      {"[SFXgroup]\nName=" + name(128), tooLong("FX group name", 127, 2)},
      {"[SFXgroup]\nSFXEntry=1,1,0,0,0,0,0," + name(251), tooLong("FX name", 250, 2)},
      {"[Samples]\n1," + name(256) + ",0", tooLong("Sample file name", 255, 2)},
      {"[Soundmacros]\n1," + name(128), tooLong("Macro file name", 127, 2)},
      {"[Keymaps]\n1," + name(128), tooLong("Keymap file name", 127, 2)},
      {"[Layers]\n1," + name(128), tooLong("Layer file name", 127, 2)},
      {"[Tables]\n1," + name(128), tooLong("Curve file name", 127, 2)},
      {setup + name(128) + "\nChannelsetup=1,0,0,0,0,0\n}\n", tooLong("MIDI file name", 127, 5)},
  };
  for (const Case& c : cases) {
    TestConversion run;
    EXPECT_FALSE(run.readScript(c.script, "s.txt", 0)) << c.script.substr(0, 20);
    EXPECT_EQ(run.output(), c.message);
    EXPECT_TRUE(run.toolRuns.empty());
  }
  // Names that fill their fields exactly are kept.
  ASSERT_TRUE(parse("[Samples]\n1," + name(255) + ",0\n[SFXgroup]\nName=" + name(127) + "\nSFXEntry=1,1,0,0,0,0,0," +
                    name(250) + "\n" + setup + name(127) + "\n}\n"))
      << run_.output();
  EXPECT_EQ(model().samples.find(1)->fileName, name(255));
}

TEST_F(ExportScript, SetupNamesThatWouldLeaveTheOutputFolderFailTheScript) {
  for (const std::string& bad : std::vector<std::string>{"../../escaped", "a/b", "a\\b", "..", "C:song", "a\001b"}) {
    TestConversion run;
    const std::string script =
        "[Songgroup]\nMidiSetup\n{\nName=" + bad + "\nFilename=a.mid\nChannelsetup=1,0,0,0,0,0\n}\n";
    EXPECT_FALSE(run.readScript(script, "s.txt", 0)) << bad;
    EXPECT_EQ(run.output(), "*** MIDI setup name <" + bad +
                                "> cannot name a file in the output folder.\n"
                                "*** In <s.txt>, line 4.\n");
    EXPECT_TRUE(run.toolRuns.empty()) << bad;
    EXPECT_TRUE(run->midiSetups.setups().empty()) << bad;
  }
}

TEST_F(ExportScript, NamesThatAreNoSymbolsWarnWithTheirLine) {
  ASSERT_TRUE(parse("[Songgroup]\nName=Boss Fight\nMidiSetup\n{\nName=it's\nFilename=a.mid\n}\n"
                    "[SFXgroup]\nName=Fx_1\nSFXEntry=1,1,0,0,0,0,0,boom/*\n"));
  std::string expected;
  for (const auto& [name, line] : {std::pair<std::string, int>{"Boss Fight", 2}, {"it's", 5}, {"boom/*", 10}}) {
    expected += "*** Warning: Name <" + name + "> holds characters that cannot stand in an include symbol; " +
                "each is written as '_'.\n*** In <s.txt>, line " + std::to_string(line) + ".\n";
  }
  EXPECT_EQ(run_.output(), expected);
  EXPECT_NE(model().songGroupByName("Boss Fight"), nullptr);  // the project description names it as it stands
}

TEST_F(ExportScript, FourScriptsMergeWithoutCollisions) {
  std::vector<uint8_t> km(1024, 0);
  km[0] = 1;  // key 0: macro 1; every other key: none
  dir_.write("km.bin", km);
  const std::string script = "[Samples]\n1,s.wav,0\n[Soundmacros]\n1,m.mac\n[Keymaps]\n1,km.bin\n"
                             "[Songgroup]\nName=G\nNormPageEntry=0,16385,1,1,0\nKeymap=1\nSample=1\n";
  for (int s = 0; s < 4; ++s) ASSERT_TRUE(parse(script, s)) << run_.output();
  std::vector<uint32_t> keymapIds;
  std::vector<uint16_t> keyZeroMacros;
  for (const auto& k : model().keymaps) {
    keymapIds.push_back(k.key);
    keyZeroMacros.push_back(k.value.keys[0].objectId);
    EXPECT_EQ(k.value.keys[1].objectId, 0xFFFF);
  }
  EXPECT_EQ(keymapIds, (std::vector<uint32_t>{0x4001, 0x4002, 0x4003, 0x4004}));
  EXPECT_EQ(keyZeroMacros, (std::vector<uint16_t>{1, 2, 3, 4}));  // each script's own macro 1
  EXPECT_EQ(keys(model().samples), (std::vector<uint16_t>{1, 2, 3, 4}));
  std::vector<uint16_t> pageObjects;
  for (const auto& g : model().songGroups) pageObjects.push_back(g.value.normalPage.find(0)->objectId);
  EXPECT_EQ(pageObjects, (std::vector<uint16_t>{0x4001, 0x4002, 0x4003, 0x4004}));
  EXPECT_EQ(run_.output(), "*** Warning: Song group name <G> is already defined in another project.\n"
                           "*** Warning: Song group name <G> is already defined in another project.\n"
                           "*** Warning: Song group name <G> is already defined in another project.\n");
}

TEST_F(ExportScript, NamesThatAreNoRegularFileFailInsteadOfHanging) {
  ASSERT_EQ(::mkfifo("km.fifo", 0600), 0);
  std::filesystem::create_directory("folder.bin");
  EXPECT_FALSE(parse("[Keymaps]\n1,km.fifo\n"));
  EXPECT_FALSE(parse("[Layers]\n1,folder.bin\n"));
  EXPECT_EQ(run_.output(), "*** Could not read keymap file.\n*** In <s.txt>, line 2.\n"
                           "*** Could not open layer file <folder.bin> for input.\n*** In <s.txt>, line 2.\n");
}

// The parse reads the text alone: a keymap that does not exist is a step like
// any other, a warning is a step where its line stands, and the first line
// that cannot be read ends the model.
TEST(ExportScriptParse, RecordsEachLineAndEndsAtTheFailure) {
  const ScriptModel model =
      parseExportScript("[Keymaps]\n7,nowhere.kmp\n[SFXgroup]\nName=Odd FX\nBogus\nSample=1\n", "odd.txt");
  ASSERT_EQ(model.steps.size(), 5u);
  const auto* keymap = std::get_if<ObjectStep>(&model.steps[0].what);
  ASSERT_NE(keymap, nullptr);
  EXPECT_EQ(keymap->kind, IdKind::Keymap);
  EXPECT_EQ(keymap->number, 7);
  EXPECT_EQ(keymap->fileName, "nowhere.kmp");
  EXPECT_TRUE(std::holds_alternative<GroupStartStep>(model.steps[1].what));
  EXPECT_EQ(model.steps[2].line, 4);
  EXPECT_NE(std::get<NoticeStep>(model.steps[2].what).text.find("*** In <odd.txt>, line 4.\n"), std::string::npos);
  EXPECT_EQ(std::get<GroupNameStep>(model.steps[3].what).name, "Odd FX");
  EXPECT_TRUE(model.fails());
  EXPECT_EQ(std::get<FailureStep>(model.steps[4].what).text,
            "*** Unknown token in SFX group section.\n<Bogus>\n*** In <odd.txt>, line 5.\n");
}
