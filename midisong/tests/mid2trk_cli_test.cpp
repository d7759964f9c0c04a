#include <gtest/gtest.h>

#include "common/testing/cli_run.h"
#include "midi_builder.h"

using testing_support::CliResult;
using testing_support::runProgram;
using testing_support::TempDir;
using namespace midisong_test;

namespace {

const std::string kBanner = "MID2TRK - GM-File converter V1.32\n"
                            "Converts Standard MIDI Files into song files for console sound drivers.\n"
                            "Written for the KESH audio toolset.\n\n";
const std::string kUsage = "MID2TRK [options] <MIDI-file> <song-file>\n"
                           "-G        Game Boy format\n"
                           "-A        Advance Game Boy format\n"
                           "-N        Nintendo 64 format\n"
                           "-D        Dolphin format\n"
                           "-P        Nintendo 64 format, little-endian\n\n";
const std::string kOldBanner = "MID2TRK - GM-File converter v1.29g\n"
                               "Converts Standard MIDI Files into song files for console sound drivers.\n"
                               "Written for the KESH audio toolset.\n\n";
const std::string kOldUsage = "MID2TRK [options] <MIDI-file> <song-file>\n"
                              "-G        Game Boy format\n"
                              "-N        Nintendo 64 format\n\n\n";
const std::string kIllegal = "*** Illegal option found on command line.\n";

Bytes simpleSong() {
  MidiBuilder midi(1, 96);
  midi.track().tempo(0, 500000).end();
  midi.track().on(0, 0, 60, 100).off(96, 0, 60).end();
  return midi.bytes();
}

CliResult mid2trk(const TempDir& dir, const std::vector<std::string>& args) {
  return runProgram(MID2TRK_EXE, args, dir.path());
}
CliResult mid2trkOld(const TempDir& dir, const std::vector<std::string>& args) {
  return runProgram(MID2TRK_129G_EXE, args, dir.path());
}

}  // namespace

TEST(Mid2trkCommandLine, PrintsTheUsageWhenFilesAreMissingOrAnOptionIsUnknown) {
  struct Case {
    std::vector<std::string> args;
    std::string out;
  };
  const std::vector<Case> cases = {
      {{}, kBanner + kUsage},
      {{"a.mid"}, kBanner + kUsage},
      {{"-N", "a.mid"}, kBanner + kUsage},
      {{"-N", "-G"}, kBanner + kUsage},
      {{"-X", "a.mid", "a.song"}, kBanner + kIllegal + kUsage},
      {{"-G", "-", "a.mid", "a.song"}, kBanner + kIllegal + kUsage},
      {{"-G", "-Q", "a.mid"}, kBanner + kIllegal + kUsage},
  };
  for (const Case& c : cases) {
    TempDir dir;
    dir.write("a.mid", simpleSong());
    const CliResult r = mid2trk(dir, c.args);
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.exitCode, 255);
    EXPECT_EQ(dir.files(), std::vector<std::string>{"a.mid"});
  }
}

TEST(Mid2trkCommandLine, TheLastOptionLetterChoosesTheTarget) {
  struct Case {
    std::vector<std::string> options;
    std::string name;
    Bytes head;  // the first bytes of the song file
  };
  const std::vector<Case> cases = {
      {{}, "Game Boy", {0x00, 0x06}},
      {{"-g"}, "Game Boy", {0x00, 0x06}},
      {{"-Gx"}, "Game Boy", {0x00, 0x06}},
      {{"-n", "-a"}, "Game Boy Advance", {0x0C, 0x00, 0x00, 0x00}},
      {{"-A", "-N"}, "Nintendo 64", {0x00, 0x00, 0x00, 0x18}},
      {{"-d"}, "Dolphin", {0x00, 0x00, 0x00, 0x18}},
      {{"-P"}, "Nintendo 64", {0x18, 0x00, 0x00, 0x00}},
  };
  for (const Case& c : cases) {
    TempDir dir;
    dir.write("a.mid", simpleSong());
    std::vector<std::string> args = c.options;
    args.insert(args.end(), {"a.mid", "a.song", "ignored"});
    const CliResult r = mid2trk(dir, args);
    const bool handheld = c.name.rfind("Game Boy", 0) == 0;
    EXPECT_EQ(r.out, kBanner + "Target is: " + c.name + "\n\n" +
                         "File type: Syncronous\nTracks: 2\t\tTicks per beat: 96\n\n" +
                         (handheld ? "Used" : "Initial") + " BPM rate: 120,   Loop: (none)\nDone.\n");
    EXPECT_EQ(r.exitCode, 0);
    const Bytes song = dir.readBytes("a.song");
    ASSERT_GE(song.size(), c.head.size());
    EXPECT_EQ(Bytes(song.begin(), song.begin() + long(c.head.size())), c.head) << c.name;
  }
}

TEST(Mid2trkCommandLine, AFailedRunLeavesTheSongFileAsItWas) {
  Bytes broken = simpleSong();
  broken.resize(broken.size() - 3);  // no end-of-track event
  Bytes twoStarts;
  {
    MidiBuilder midi(0, 96);
    midi.track().control(0, 0, 102, 0).control(10, 0, 102, 0).end();
    twoStarts = midi.bytes();
  }
  struct Case {
    Bytes midi;
    std::string lastLine;
  };
  const std::vector<Case> cases = {
      {{}, "*** File is no valid MIDI file.\n"},
      {broken, "*** MIDI file <a.mid> ends inside track 2 (byte 49).\n"},
      {twoStarts, "*** More than one Start-Loop marker found!\n"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    dir.write("a.mid", c.midi);
    dir.write("a.song", std::string("old song"));
    const CliResult r = mid2trk(dir, {"-A", "a.mid", "a.song"});
    EXPECT_EQ(r.exitCode, 255);
    ASSERT_GE(r.out.size(), c.lastLine.size());
    EXPECT_EQ(r.out.substr(r.out.size() - c.lastLine.size()), c.lastLine);
    EXPECT_EQ(r.out.find("Done."), std::string::npos);
    EXPECT_EQ(dir.readText("a.song"), "old song");
    EXPECT_EQ(dir.files(), (std::vector<std::string>{"a.mid", "a.song"}));
  }
}

TEST(Mid2trkCommandLine, ReportsFilesThatCannotBeOpenedOrWritten) {
  TempDir dir;
  dir.write("a.mid", simpleSong());
  CliResult r = mid2trk(dir, {"missing.mid", "a.song"});
  EXPECT_EQ(r.out, kBanner + "Target is: Game Boy\n\n*** Could not open input file.\n");
  EXPECT_EQ(r.exitCode, 255);
  r = mid2trk(dir, {"-N", "a.mid", "no/such/folder/a.song"});
  EXPECT_NE(r.out.find("*** Could not write destination file.\n"), std::string::npos);
  EXPECT_EQ(r.exitCode, 255);
  EXPECT_EQ(dir.files(), std::vector<std::string>{"a.mid"});
}

TEST(Mid2trkRelease129g, KnowsOnlyGameBoyAndNintendo64) {
  TempDir dir;
  dir.write("a.mid", simpleSong());
  for (const std::string option : {"-A", "-D", "-P"}) {
    const CliResult r = mid2trkOld(dir, {option, "a.mid", "a.song"});
    EXPECT_EQ(r.out, kOldBanner + kIllegal + kOldUsage);
    EXPECT_EQ(r.exitCode, 255);
  }
  EXPECT_EQ(mid2trkOld(dir, {"a.mid"}).out, kOldBanner + kOldUsage);
  const CliResult r = mid2trkOld(dir, {"-n", "a.mid", "a.song"});
  EXPECT_EQ(r.out, kOldBanner + "Target is: Nintendo 64\n\nFile type: Syncronous\nTracks: 2\t\tTicks per beat: 96\n\n"
                                "Initial BPM rate: 120,   Loop: (none)\nDone.\n");
  EXPECT_EQ(r.exitCode, 0);
  const Bytes song = dir.readBytes("a.song");
  ASSERT_GE(song.size(), 24u);
  EXPECT_EQ(Bytes(song.begin() + 16, song.begin() + 24), Bytes({0, 0, 0, 120, 0, 0, 0, 0}));
}

TEST(Mid2trkCommandLine, RefusesSongsWhoseTimesDoNotFit32Bits) {
  MidiBuilder midi(1, 1);  // one tick per beat
  midi.track().on(0, 0, 60, 100).off(12000000, 0, 60).end();
  struct Case {
    std::string option;
    int exitCode;
  };
  // 12,000,000 beats: 288,000,000 Game Boy units, 4,608,000,000 Nintendo 64 units.
  for (const Case& c : {Case{"-G", 0}, Case{"-A", 0}, Case{"-N", 255}, Case{"-D", 255}}) {
    TempDir dir;
    dir.write("a.mid", midi.bytes());
    const CliResult r = mid2trk(dir, {c.option, "a.mid", "a.song"});
    EXPECT_EQ(r.exitCode, c.exitCode) << c.option;
    EXPECT_EQ(dir.exists("a.song"), c.exitCode == 0) << c.option;
    if (c.exitCode != 0) {
      const std::string message = "*** Song too long: its times do not fit the 32 bits of the song file.\n";
      ASSERT_GE(r.out.size(), message.size());
      EXPECT_EQ(r.out.substr(r.out.size() - message.size()), message);
    }
  }
}

TEST(Mid2trkCommandLine, ReportsTheFaultTheFileHasFirst) {
  MidiBuilder missingTrack(1, 96);
  missingTrack.headerTracks(2).track().on(0, 0, 60, 100).off(96, 0, 60).end();
  MidiBuilder manyLongTracks(1, 1);  // one tick per beat: 12,000,000 beats overflow the 32-bit units
  for (int i = 0; i < 65; ++i) manyLongTracks.track().on(0, 0, 60, 100).off(12000000, 0, 60).end();
  struct Case {
    Bytes midi;
    std::string lastLine;
  };
  const std::vector<Case> cases = {
      {missingTrack.bytes(), "*** Illegal data encountered while reading tracks.\n"},
      {manyLongTracks.bytes(), "*** 32-bit format does not support more than 64 tracks.\n"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    dir.write("a.mid", c.midi);
    const CliResult r = mid2trk(dir, {"-N", "a.mid", "a.song"});
    EXPECT_EQ(r.exitCode, 255);
    ASSERT_GE(r.out.size(), c.lastLine.size());
    EXPECT_EQ(r.out.substr(r.out.size() - c.lastLine.size()), c.lastLine);
    EXPECT_FALSE(dir.exists("a.song"));
  }
}

TEST(Mid2trkCommandLine, ReadsAPipeAndWritesThroughADescriptor) {
  TempDir dir;
  dir.write("a.mid", simpleSong());
  ASSERT_EQ(mid2trk(dir, {"-N", "a.mid", "a.song"}).exitCode, 0);
  const std::string command = std::string("cat a.mid | '") + MID2TRK_EXE + "' -N /dev/stdin /dev/fd/3 3>b.song";
  const CliResult r = runProgram("/bin/sh", {"-c", command}, dir.path());
  EXPECT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(dir.readBytes("b.song"), dir.readBytes("a.song"));
  EXPECT_EQ(dir.files(), (std::vector<std::string>{"a.mid", "a.song", "b.song"}));
}

TEST(Mid2trkCommandLine, ASongOnStandardOutputGetsNoMessagesMixedIn) {
  TempDir dir;
  dir.write("a.mid", simpleSong());
  const CliResult reference = mid2trk(dir, {"-N", "a.mid", "a.song"});
  ASSERT_EQ(reference.exitCode, 0);
  const CliResult r = mid2trk(dir, {"-N", "a.mid", "/dev/stdout"});
  EXPECT_EQ(r.exitCode, 0);
  const std::vector<uint8_t> song = dir.readBytes("a.song");
  EXPECT_EQ(r.out, std::string(song.begin(), song.end()));
  EXPECT_EQ(r.err, reference.out);
}
