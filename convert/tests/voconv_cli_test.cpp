// Runs the built voconv and voconv-1.15 in temporary folders.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <regex>

#include "common/testing/cli_run.h"

using testing_support::CliResult;
using testing_support::programAlone;
using testing_support::runProgram;
using testing_support::TempDir;

namespace {

constexpr const char* kBanner = "VOConv - Vocta sound data converter V1.23b\n\n";
constexpr const char* kBanner115 = "VOConv - Vocta sound data converter V1.15\n\n";

// A run with its own environment (fake tools on PATH) uses a copy of voconv
// alone in a folder: the real mid2trk and kvtool sit beside the built one and
// would be found first.
CliResult voconv(const TempDir& dir, const std::vector<std::string>& args, const std::vector<std::string>& env = {}) {
  if (env.empty()) return runProgram(VOCONV_EXE, args, dir.path());
  return runProgram(programAlone(VOCONV_EXE), args, dir.path(), {}, env);
}

CliResult voconv115(const TempDir& dir, const std::vector<std::string>& args) {
  return runProgram(VOCONV115_EXE, args, dir.path());
}

// A folder with a fake tool: a shell script that records its arguments and
// writes the song file it is asked for, or fails with `exitCode`.
std::string fakeTool(const TempDir& dir, const std::string& name, int exitCode) {
  const std::string script =
      "#!/bin/sh\necho \"$0 $*\" >> \"" + (dir / "tool.log").string() + "\"\n" +
      (exitCode == 0 ? "for last; do :; done\necho song > \"$last\"\n" : "echo 'cannot convert this'\n") + "exit " +
      std::to_string(exitCode) + "\n";
  dir.write("bin/" + name, script);
  ::chmod((dir / ("bin/" + name)).c_str(), 0755);
  return "PATH=" + (dir / "bin").string() + ":/usr/bin:/bin";
}

const char* kSetupScript =
    "[Songgroup]\nName=Music\nMidiSetup\n{\nName=Level_1\nFilename=intro.mid\nChannelsetup=1,0,0,0,0,0\n}\n"
    "MidiSetup\n{\nName=Theme\nFilename=theme.arr\nChannelsetup=1,0,0,0,0,0\n}\n";

}  // namespace

TEST(VoconvCli, UsageWithFewerThanTwoArguments) {
  TempDir dir;
  for (const auto& args : {std::vector<std::string>{}, std::vector<std::string>{"desc.txt"}}) {
    const CliResult r = voconv(dir, args);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, std::string(kBanner) +
                         "Usage: VOCONV <options> <export-script> [<export-script>...] <project-desc>\n"
                         " -a         Generate assembler include file (default is C)\n"
                         " -b         All data will be suitable for big endian systems\n"
                         " -p <path>  Add project base path\n"
                         " -t <sys>   Set the target system. This will not set the correct endian\n"
                         "            mode. Just data formats are switched to the given platform.\n"
                         "            sys= N64, GB, AGB\n"
                         " -s         Disable sample processing\n"
                         " -d         Use only default sample type\n"
                         " -v         Enable verbose mode\n"
                         " -vs        Shows data statistics for converted project (GB only)\n\n");
  }
  const CliResult old = voconv115(dir, {});
  EXPECT_EQ(old.exitCode, 0);
  EXPECT_NE(old.out.find(std::string(kBanner115) + "Usage: VOCONV"), std::string::npos);
  EXPECT_NE(old.out.find(" -t <sys>   Set the target system. This will not set the correct\n"
                         "            endian mode. Just data formats are switched to the given\n"
                         "            platform. (N64, GB)\n -s"),
            std::string::npos);
  EXPECT_TRUE(dir.files().empty());
}

TEST(VoconvCli, OptionsPrintTheirLines) {
  TempDir dir;
  dir.write("d.txt", "[OutputDirectory]\nout\n");
  struct Case {
    std::vector<std::string> args;
    std::string lines;
  };
  const Case cases[] = {
      {{"-a", "-b", "-d", "-s", "-x", "-vx", "-vs"},
       "Include file format is switched to assembler.\nData format switched to big endian.\n"
       "All samples will use default the sample type.\nSamples will NOT be converted.\n"},
      {{"-v"}, "Verbose mode is activated.\n"},
      {{"-p", "somewhere"}, "Project base path <somewhere> is added.\n"},
      {{"-t", "n64"}, "Target is set to N64.\n"},
      {{"-t", "gb"}, "Target is set to GameBoy.\n"},
      {{"-t", "GBSLAVE"}, "Target is set to Game Boy.\n"},
      {{"-t", "Agb"}, "Target is set to Game Boy Advance.\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    args.push_back("d.txt");
    const CliResult r = voconv(dir, args);
    EXPECT_EQ(r.out.substr(0, std::string(kBanner).size() + c.lines.size() + 31),
              kBanner + c.lines + "Reading project description...\n")
        << c.lines;
  }
}

TEST(VoconvCli, UnknownTargetEndsWithTenOrIsIgnoredByRelease115) {
  TempDir dir;
  dir.write("d.txt", "");
  const CliResult r = voconv(dir, {"-t", "PSX", "d.txt"});
  EXPECT_EQ(r.exitCode, 10);
  EXPECT_EQ(r.out, std::string(kBanner) + "*** ERROR: Selected target is unknown!\n");
  const CliResult old = voconv115(dir, {"-t", "AGB", "-t", "GBSLAVE", "d.txt"});
  EXPECT_EQ(old.out.rfind(std::string(kBanner115) + "*** Default target is still set, because target is unknown.\n" +
                              "Target is set to GameBoy.\nReading project description...\n",
                          0),
            0u)
      << old.out;
}

TEST(VoconvCli, CommandLinesThatEndEarly) {
  TempDir dir;
  struct Case {
    std::vector<std::string> args;
    std::string message;
    int exitCode;
  };
  const Case cases[] = {
      {{"-v", "-a"},
       "Verbose mode is activated.\nInclude file format is switched to assembler.\n"
       "*** No project description is given after the options.\n",
       2},
      {{"-a", "-p"}, "Include file format is switched to assembler.\n*** Option -p must be followed by a value.\n", 2},
      {{"-v", "-t"}, "Verbose mode is activated.\n*** Option -t must be followed by a value.\n", 2},
      {{"a", "b", "c", "d", "e", "desc"}, "*** Too many export scripts to be merged.\n", 1},
      {{"script", "missing.txt"}, "Reading project description...\n*** Could not open project description.\n", 2},
  };
  for (const auto& c : cases) {
    const CliResult r = voconv(dir, c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.message;
    EXPECT_EQ(r.out.substr(0, std::string(kBanner).size() + c.message.size()), kBanner + c.message);
  }
  std::vector<std::string> tooManyPaths;
  for (int i = 0; i < 9; ++i) tooManyPaths.insert(tooManyPaths.end(), {"-p", "p" + std::to_string(i)});
  tooManyPaths.push_back("desc");
  const CliResult r = voconv(dir, tooManyPaths);
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.out.find("Project base path <p7> is added.\n*** Too many project base paths; at most 8 can be added.\n"),
            std::string::npos);
  EXPECT_TRUE(dir.files().empty());
}

TEST(VoconvCli, FailingScriptEndsWithOneAndWritesNothing) {
  TempDir dir;
  dir.write("d.txt", "[OutputDirectory]\n.\n");
  dir.write("macrodef.vqd", "");
  dir.write("bad.txt", "[Samples]\n1,a.wav,0\n[Nonsense]\n");
  const CliResult r = voconv(dir, {"bad.txt", "d.txt"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, std::string(kBanner) +
                       "Reading project description...\nDone.\nReading exported script file <bad.txt>...\n"
                       "*** Unknown section marker found.\n<[Nonsense]>\n*** In <bad.txt>, line 3.\n");
  const CliResult missing = voconv(dir, {"none.txt", "d.txt"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.out.find("*** Could not read export script <none.txt>.\n"), std::string::npos);
  EXPECT_EQ(dir.files(), (std::vector<std::string>{"bad.txt", "d.txt", "macrodef.vqd"}));
  TempDir noDefs;
  noDefs.write("d.txt", "");
  noDefs.write("s.txt", "");
  const CliResult r2 = voconv(noDefs, {"s.txt", "d.txt"});
  EXPECT_EQ(r2.exitCode, 1);
  EXPECT_NE(r2.out.find("Reading exported script file <s.txt>...\n"
                        "*** Could not open macro definition file <macrodef.vqd>\n"),
            std::string::npos);
  // The handheld targets need no macro definitions.
  EXPECT_EQ(voconv(noDefs, {"-t", "AGB", "s.txt", "d.txt"}).exitCode, 0);
}

TEST(VoconvCli, WritesTheIncludeHeaderInBothForms) {
  for (bool assembler : {false, true}) {
    TempDir dir;
    dir.write("d.txt", "[Include]\nsound.inc\n[OutputDirectory]\nout\n");
    std::filesystem::create_directory(dir / "out");
    // An empty project: the header is all the include file holds.
    std::vector<std::string> args = {"-t", "AGB", "-s", "d.txt"};
    if (assembler) args.insert(args.begin(), "-a");
    const CliResult r = voconv(dir, args);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("Reading project description...\nDone.\nConverting to target format...\nDone.\n"),
              std::string::npos)
        << r.out;
    const std::string header = dir.readText("out/sound.inc");
    const std::regex form(assembler
                              ? ";\n;\tInclude file generated by VOConv V1\\.23b\n;\t(Mon|Tue|Wed|Thu|Fri|Sat|Sun) "
                                "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) [ 123][0-9] [0-2][0-9]:[0-5][0-9]:"
                                "[0-6][0-9] 2[0-9]{3}\n;\n\n"
                              : "/\\*\n\tInclude file generated by VOConv V1\\.23b\n\t(Mon|Tue|Wed|Thu|Fri|Sat|Sun) "
                                "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) [ 123][0-9] [0-2][0-9]:[0-5][0-9]:"
                                "[0-6][0-9] 2[0-9]{3}\n\\*/\n\n");
    EXPECT_TRUE(std::regex_match(header, form)) << header;
  }
}

TEST(VoconvCli, IncludeFileThatCannotBeCreated) {
  TempDir dir;
  dir.write("d.txt", "[OutputDirectory]\nno/such/folder\n");
  const CliResult r = voconv(dir, {"-t", "gb", "d.txt"});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.out.find("Reading project description...\nDone.\n*** Could not write language include file.\n"),
            std::string::npos);
}

TEST(VoconvCli, StartsTheSongToolsAndFindsThemOnPath) {
  TempDir dir;
  dir.write("d.txt", "[OutputDirectory]\nout\n");
  dir.write("macrodef.vqd", "");
  dir.write("s.txt", kSetupScript);
  std::filesystem::create_directory(dir / "out");
  std::string path = fakeTool(dir, "mid2trk", 0);
  fakeTool(dir, "kvtool", 0);
  const CliResult r = voconv(dir, {"-v", "-b", "s.txt", "d.txt"}, {path});
  EXPECT_NE(r.out.find("Using external tool to convert <MIDIfiles/intro.mid>...\n"
                       "CMD: mid2trk -N MIDIfiles/intro.mid out/Level_1.song\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("CMD: kvtool -B MIDIfiles/theme.arr out/Theme.song\n"), std::string::npos);
  EXPECT_EQ(dir.readText("tool.log"), (dir / "bin/mid2trk").string() + " -N MIDIfiles/intro.mid out/Level_1.song\n" +
                                          (dir / "bin/kvtool").string() + " -B MIDIfiles/theme.arr out/Theme.song\n");
  EXPECT_EQ(dir.readText("out/Level_1.song"), "song\n");
  // Without -b kvtool gets no switch at all (the command line shows two blanks).
  const CliResult little = voconv(dir, {"-v", "s.txt", "d.txt"}, {path});
  EXPECT_NE(little.out.find("CMD: kvtool  MIDIfiles/theme.arr out/Theme.song\n"), std::string::npos);
}

TEST(VoconvCli, BuiltConverterFindsMid2trkBesideItself) {
  TempDir dir;
  dir.write("d.txt", "[OutputDirectory]\nout\n");
  dir.write("macrodef.vqd", "");
  dir.write("s.txt", "[Songgroup]\nMidiSetup\n{\nName=a\nFilename=a.mid\nChannelsetup=1,0,0,0,0,0\n}\n");
  // Format 0, one track, division 96: one note of a quarter, then the end of the track.
  dir.write("MIDIfiles/a.mid",
            std::vector<uint8_t>{'M', 'T', 'h', 'd', 0,  0, 0,    6,  0,   0,  0,    1,  0, 96, 'M',  'T',  'r',
                                 'k', 0,   0,   0,   13, 0, 0x90, 60, 100, 96, 0x80, 60, 0, 0,  0xFF, 0x2F, 0});
  std::filesystem::create_directory(dir / "out");
  const CliResult r = runProgram(VOCONV_EXE, {"s.txt", "d.txt"}, dir.path(), {}, {"PATH=/nonexistent"});
  EXPECT_NE(r.out.find("Using external tool to convert <MIDIfiles/a.mid>...\nDone.\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("Error -1"), std::string::npos) << r.out;
  EXPECT_TRUE(dir.exists("out/a.song"));
}

TEST(VoconvCli, FailingToolWarnsShowsItsOutputAndEndsWithTwo) {
  TempDir dir;
  dir.write("d.txt", "[OutputDirectory]\nout\n");
  dir.write("s.txt", kSetupScript);
  std::filesystem::create_directory(dir / "out");
  const std::string path = fakeTool(dir, "mid2trk", 3);
  fakeTool(dir, "kvtool", 0);
  const CliResult r = voconv(dir, {"-t", "GB", "s.txt", "d.txt"}, {path});
  EXPECT_NE(r.out.find("Using external tool to convert <MIDIfiles/intro.mid>...\n"
                       "*** Warning: Error 3 while executing external program.\ncannot convert this\n"
                       "Using external tool to convert <MIDIfiles/theme.arr>...\n"),
            std::string::npos)
      << r.out;
  EXPECT_EQ(r.exitCode, 2);
  // A tool that is nowhere to be found fails the same way.
  const CliResult none = voconv(dir, {"-t", "GB", "s.txt", "d.txt"}, {"PATH=/nonexistent"});
  EXPECT_NE(none.out.find("*** Warning: Error -1 while executing external program.\n"), std::string::npos);
  EXPECT_EQ(none.exitCode, 2);
}

TEST(VoconvCli, SlaveRomTargetStartsNoTool) {
  TempDir dir;
  dir.write("d.txt", "");
  dir.write("s.txt", kSetupScript);
  const std::string path = fakeTool(dir, "mid2trk", 0);
  const CliResult r = voconv(dir, {"-v", "-t", "GBSLAVE", "s.txt", "d.txt"}, {path});
  // Both setups are registered (the script was read to its end), no tool ran.
  EXPECT_NE(r.out.find("    Name: <Level_1>\n    File: <intro.mid>\n    ID=0\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("    Name: <Theme>\n    File: <theme.arr>\n    ID=1\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("Using external tool"), std::string::npos);
  EXPECT_FALSE(dir.exists("tool.log"));
}

TEST(VoconvCli, HandheldTargetsPassTheirOptionToMid2trk) {
  // A copy of voconv with the fake mid2trk beside it, where it looks first.
  TempDir dir;
  std::filesystem::copy_file(VOCONV_EXE, dir / "voconv");
  ::chmod((dir / "voconv").c_str(), 0755);
  fakeTool(dir, "mid2trk", 0);
  std::filesystem::rename(dir / "bin/mid2trk", dir / "mid2trk");
  dir.write("d.txt", "");
  dir.write("s.txt", "[Songgroup]\nMidiSetup\n{\nName=a\nFilename=a.mid\nChannelsetup=1,0,0,0,0,0\n}\n");
  for (const std::string target : {"GB", "AGB"}) {
    const CliResult r =
        runProgram(dir / "voconv", {"-t", target, "s.txt", "d.txt"}, dir.path(), {}, {"PATH=/nonexistent"});
    EXPECT_NE(r.out.find("Using external tool to convert <MIDIfiles/a.mid>...\n"), std::string::npos) << r.out;
  }
  const std::string tool = (dir / "mid2trk").string();
  // The handheld targets make their songs in a private folder of the run.
  const std::regex songs(tool + " -G MIDIfiles/a.mid voconv-songs\\.\\w{6}/a.song\n" + tool +
                         " -A MIDIfiles/a.mid voconv-songs\\.\\w{6}/a.song\n");
  EXPECT_TRUE(std::regex_match(dir.readText("tool.log"), songs)) << dir.readText("tool.log");
}

TEST(VoconvCli, ToolBesideTheConverterComesBeforePath) {
  TempDir dir;
  std::filesystem::copy_file(VOCONV_EXE, dir / "voconv");
  ::chmod((dir / "voconv").c_str(), 0755);
  dir.write("beside/placeholder", "");
  fakeTool(dir, "kvtool", 0);  // in bin/, which is not on PATH
  std::filesystem::rename(dir / "bin/kvtool", dir / "kvtool");
  dir.write("d.txt", "");
  dir.write("s.txt", "[Songgroup]\nMidiSetup\n{\nName=a\nFilename=a.arr\nChannelsetup=1,0,0,0,0,0\n}\n");
  const CliResult r = runProgram(dir / "voconv", {"-t", "gb", "s.txt", "d.txt"}, dir.path(), {}, {"PATH=/nonexistent"});
  EXPECT_NE(r.out.find("Using external tool to convert <MIDIfiles/a.arr>...\nDone.\n"), std::string::npos) << r.out;
  EXPECT_TRUE(
      std::regex_match(dir.readText("tool.log"),
                       std::regex((dir / "kvtool").string() + " MIDIfiles/a.arr voconv-songs\\.\\w{6}/a.song\n")));
}

TEST(VoconvCli, OutputOfAFailingToolIsShownUpToALimit) {
  TempDir dir;
  dir.write("d.txt", "");
  dir.write("s.txt", "[Songgroup]\nMidiSetup\n{\nName=a\nFilename=a.mid\nChannelsetup=1,0,0,0,0,0\n}\n");
  dir.write("bin/mid2trk", "#!/bin/sh\nhead -c 1000000 /dev/zero | tr '\\0' x\nexit 4\n");
  ::chmod((dir / "bin/mid2trk").c_str(), 0755);
  const CliResult r =
      voconv(dir, {"-t", "gb", "s.txt", "d.txt"}, {"PATH=" + (dir / "bin").string() + ":/usr/bin:/bin"});
  EXPECT_EQ(r.exitCode, 2);
  const std::string warning = "*** Warning: Error 4 while executing external program.\n";
  ASSERT_NE(r.out.find(warning), std::string::npos);
  EXPECT_EQ(r.out.substr(r.out.find(warning) + warning.size(), 65536), std::string(65536, 'x'));
  EXPECT_NE(r.out.find(std::string(65536, 'x') + "\n[... further output dropped]\n"), std::string::npos);
  EXPECT_LT(r.out.size(), 70000u);
}

TEST(VoconvCli, Release115WritesItsVersionIntoTheIncludeHeader) {
  TempDir dir;
  dir.write("d.txt", "[Include]\nold.h\n");
  const CliResult r = voconv115(dir, {"-t", "gb", "d.txt"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(dir.readText("old.h").rfind(";\n;\tInclude file generated by VOConv V1.15\n;\t", 0), 0u);
}
