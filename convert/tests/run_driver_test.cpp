// The run driver's writing step with stand-in writers, and the include file.
#include <gtest/gtest.h>

#include "common/testing/cli_run.h"
#include "convert/command_line.h"
#include "convert/exit_codes.h"
#include "convert/include_file.h"
#include "convert/project/script_reading.h"
#include "convert/project/target_object_list.h"
#include "convert/run_driver.h"
#include "convert/targets/handheld/handheld_writers.h"
#include "convert/targets/n64_writer.h"
#include "test_conversion.h"

using namespace voconv;
using voconv::testing::TestConversion;

namespace {

// A stand-in writer step: logs its name and fails when it is `failing`.
bool logStep(Conversion& c, const std::string& name, const std::string& failing) {
  c.out.print("[%s]\n", name.c_str());
  return name != failing;
}

class LoggingN64 : public N64Writer {
 public:
  explicit LoggingN64(std::string failing) : N64Writer(true), failing_(std::move(failing)) {}

 protected:
  bool writeProject(Conversion& c) override { return logStep(c, "proj", failing_); }
  bool writePool(Conversion& c) override { return logStep(c, "pool", failing_); }
  bool writeSamples(Conversion& c) override { return logStep(c, "samples", failing_); }

 private:
  std::string failing_;
};

class LoggingHandheld : public HandheldWriter {
 public:
  LoggingHandheld(const TargetDescriptor& target, std::string failing)
      : HandheldWriter(target),
        prefix_(build().compileTarget == CompileTarget::Advance ? "agb" : "gb"),
        failing_(std::move(failing)) {}

 protected:
  bool writeProject(Conversion& c) override { return logStep(c, prefix_ + "proj", failing_); }
  bool writeData(Conversion& c) override { return logStep(c, prefix_ + "data", failing_); }

 private:
  std::string prefix_;
  std::string failing_;
};

// The built-in targets with stand-in writers.
TargetTable standInTargets(const std::string& failing = "") {
  TargetTable table = builtInTargets();
  for (TargetDescriptor& d : table.descriptors()) {
    if (!d.compileTarget) {
      d.makeWriter = [failing](const TargetDescriptor&) { return std::make_unique<LoggingN64>(failing); };
    } else {
      d.makeWriter = [failing](const TargetDescriptor& t) { return std::make_unique<LoggingHandheld>(t, failing); };
    }
  }
  return table;
}

// Runs the driver in a temporary folder holding a description and a script
// with one MIDI setup named Level_1.
class RunDriver : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("TZ", "UTC", 1);  // the include header shows local time
    ::tzset();
    cwd_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
    dir_.write("d.txt", "[Include]\nsnd.h\n");
    dir_.write("macrodef.vqd", "");
    dir_.write("s.txt", "[Songgroup]\nMidiSetup\n{\nName=Level_1\nFilename=a.mid\nChannelsetup=1,0,0,0,0,0\n}\n"
                        "MidiSetup\n{\nName=boss\nFilename=b.mid\nChannelsetup=1,0,0,0,0,0\n}\n");
  }
  void TearDown() override { std::filesystem::current_path(cwd_); }

  int run(const std::vector<std::string>& args, const TargetTable& targets = standInTargets()) {
    return runConversion(args, run_.conversion, targets, RunDate{});
  }
  // What the run printed after reading its inputs.
  std::string writingPart() const {
    const std::string out = run_.output();
    const size_t from = out.rfind("Done.\n", out.find("[") == std::string::npos ? std::string::npos : out.find("["));
    return out.substr(from + 6);
  }

  testing_support::TempDir dir_;
  std::filesystem::path cwd_;
  TestConversion run_;
};

}  // namespace

TEST_F(RunDriver, Nintendo64ChainWritesSongSymbolsAfterTheSamples) {
  EXPECT_EQ(run({"-t", "N64", "s.txt", "d.txt"}), kExitDone);
  EXPECT_EQ(writingPart(), "Writing project data...\n[proj]\nDone.\nConverting pool data...\n[pool]\nDone.\n"
                           "Converting sample data...\n[samples]\nDone.\n");
  const std::string include = dir_.readText("snd.h");
  EXPECT_EQ(include.substr(include.find("*/\n\n") + 4), "#define LEVEL_1_SONG\t\t0\n#define BOSS_SONG\t\t1\n");
}

TEST_F(RunDriver, EachCharacterNoSymbolCanHoldIsWrittenAsAnUnderscore) {
  dir_.write("s.txt", "[Songgroup]\nMidiSetup\n{\nName=boss \"1\"*\nFilename=b.mid\nChannelsetup=1,0,0,0,0,0\n}\n");
  EXPECT_EQ(run({"-t", "N64", "s.txt", "d.txt"}), kExitDone);
  const std::string include = dir_.readText("snd.h");
  EXPECT_EQ(include.substr(include.find("*/\n\n") + 4), "#define BOSS__1___SONG\t\t0\n");
}

TEST_F(RunDriver, WithoutSamplesTheSongSymbolsAreStillWritten) {
  EXPECT_EQ(run({"-s", "-a", "s.txt", "d.txt"}), kExitDone);
  EXPECT_EQ(writingPart(), "Writing project data...\n[proj]\nDone.\nConverting pool data...\n[pool]\nDone.\n");
  const std::string include = dir_.readText("snd.h");
  EXPECT_EQ(include.substr(include.find(";\n\n", 3) + 3), "LEVEL_1_SONG\t\t= 0\nBOSS_SONG\t\t= 1\n");
}

TEST_F(RunDriver, AFailedStepEndsTheChainAndTheRunEndsWithTwo) {
  EXPECT_EQ(run({"s.txt", "d.txt"}, standInTargets("pool")), kExitFailureReported);
  EXPECT_EQ(writingPart(), "Writing project data...\n[proj]\nDone.\nConverting pool data...\n[pool]\n");
  const std::string include = dir_.readText("snd.h");
  EXPECT_EQ(include.find("_SONG"), std::string::npos);  // the header only
  EXPECT_NE(include.find("Include file generated by VOConv V1.23b\n\tThu Jan  1 "), std::string::npos);
}

TEST_F(RunDriver, HandheldTargetsRunProjectThenData) {
  EXPECT_EQ(run({"-t", "GB", "s.txt", "d.txt"}), kExitDone);
  EXPECT_EQ(writingPart(), "[gbproj]\n[gbdata]\nDone.\n");
  TestConversion second;
  EXPECT_EQ(runConversion({"-t", "AGB", "s.txt", "d.txt"}, second.conversion, standInTargets("agbproj"), RunDate{}),
            kExitFailureReported);
  EXPECT_EQ(second.output().substr(second.output().find("[")), "[agbproj]\n");
}

TEST_F(RunDriver, FailedToolRunEndsWithTwoEvenWhenEverythingElseWorked) {
  run_.toolExitCode = 255;
  EXPECT_EQ(run({"-t", "N64", "s.txt", "d.txt"}), kExitFailureReported);
  EXPECT_NE(run_.output().find("*** Warning: Error 255 while executing external program.\n"), std::string::npos);
  // The setups stay registered: their symbols are written all the same.
  EXPECT_NE(dir_.readText("snd.h").find("#define BOSS_SONG\t\t1\n"), std::string::npos);
}

TEST_F(RunDriver, ProjectWithoutExportScripts) {
  EXPECT_EQ(run({"-s", "d.txt"}), kExitDone);
  EXPECT_EQ(run_.output().find("Reading exported script"), std::string::npos);
}

TEST_F(RunDriver, OutOfIdsEndsWithOneAndLeavesNoIncludeFile) {
  std::string script = "[Tables]\n";
  for (int n = 1; n <= 16383; ++n) script += std::to_string(n) + ",t.tab\n";
  dir_.write("big.txt", script);
  dir_.write("clash.txt", "[Tables]\n5,t.tab\n");
  EXPECT_EQ(run({"big.txt", "clash.txt", "d.txt"}), kExitScriptFailed);
  EXPECT_NE(run_.output().find("Reading exported script file <clash.txt>...\n*** Fatal: Out of IDs.\n"),
            std::string::npos);
  EXPECT_FALSE(dir_.exists("snd.h"));
}

// The target a command line leaves, with the song tool option, as the
// sticky flags and -b make them.
TEST(TargetTable, OptionsLeaveTheTargetTheRunWritesAndItsSongTool) {
  struct Case {
    std::vector<std::string> args;
    bool release115;
    std::string_view target;
    std::string midiOption;  // empty: no songs made
  };
  const std::vector<Case> cases = {
      {{"-t", "GBSLAVE", "-t", "gb"}, false, "GBSLAVE", ""},
      {{"-t", "GBSLAVE", "-t", "N64"}, false, "N64", ""},
      {{"-t", "n64", "-b"}, false, "N64", "-N"},
      {{"-b", "-t", "x", "-t", "GB"}, true, "GB", "-G"},
      {{"-t", "Agb"}, false, "AGB", "-A"},
      {{"-t", "AGB"}, true, "", "-P"},
      {{"-a"}, false, "", "-P"},
  };
  for (const Case& k : cases) {
    TestConversion run(k.release115 ? release115() : currentRelease());
    int exitCode = 0;
    ASSERT_TRUE(readOptions(k.args, run.conversion, exitCode)) << k.args[1];
    EXPECT_EQ(run->settings.target->spelling, k.target) << k.args[1];
    const SongToolSettings songs = songToolSettings(run.conversion);
    EXPECT_EQ(songs.makesSongs ? songs.midiOption : "", k.midiOption) << k.args[1];
  }
}

TEST(IncludeFile, DateLineHasTheFixedCLibraryForm) {
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  EXPECT_EQ(dateLine({0, false}), "Thu Jan  1 00:00:00 1970\n");
  EXPECT_EQ(dateLine({1796907661, false}), "Thu Dec 10 13:01:01 2026\n");  // from python3 datetime
  // SOURCE_DATE_EPOCH is shown in UTC whatever the local zone; a value that
  // is not a whole number of seconds leaves the run's own time.
  ::setenv("TZ", "America/New_York", 1);
  ::tzset();
  EXPECT_EQ(dateLine(runDate("1796907661", 5)), "Thu Dec 10 13:01:01 2026\n");
  for (const char* bad : {"", "12x", "-5", "99999999999999999999"}) EXPECT_EQ(runDate(bad, 5).seconds, 5) << bad;
  EXPECT_EQ(runDate(nullptr, 5).utc, false);
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  EXPECT_EQ(upperCase("Level_1 boss9"), "LEVEL_1 BOSS9");
}

TEST(TargetObjectList, NewestFirstAndAReplacedObjectMovesToTheHead) {
  TargetObjectList list;
  list.add(TargetObjectType::Macro, 1, 4);
  list.add(TargetObjectType::Sample, 1, 16);
  list.add(TargetObjectType::Macro, 2, 8).payload[0] = 0x55;
  TargetObject& again = list.add(TargetObjectType::Macro, 1, 2);
  EXPECT_EQ(again.payload, std::vector<uint8_t>(2, 0));
  EXPECT_EQ(again.flags, 0);
  std::vector<uint16_t> macros;
  for (TargetObject* o = list.first(TargetObjectType::Macro); o; o = list.next(TargetObjectType::Macro, o)) {
    macros.push_back(o->id);
  }
  EXPECT_EQ(macros, (std::vector<uint16_t>{1, 2}));
  EXPECT_EQ(list.find(TargetObjectType::Macro, 2)->payload[0], 0x55);
  EXPECT_EQ(list.find(TargetObjectType::Table, 2), nullptr);
  EXPECT_EQ(list.all(TargetObjectType::Sample).size(), 1u);
  EXPECT_TRUE(list.remove(TargetObjectType::Macro, 2));
  EXPECT_EQ(list.next(TargetObjectType::Macro, list.first(TargetObjectType::Macro)), nullptr);
  list.clear();
  EXPECT_EQ(list.size(), 0u);
}
