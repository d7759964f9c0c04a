// kvtool and the converter's tool runs with the real mid2trk and kvtool.
#include <gtest/gtest.h>

#include "common/testing/cli_run.h"
#include "convert/kvtool/arrangement_file.h"

using testing_support::CliResult;
using testing_support::runProgram;
using testing_support::TempDir;

namespace {

// A format 0 MIDI file with one note, written byte by byte.
std::vector<uint8_t> oneNoteMidi() {
  const std::vector<uint8_t> track = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,     // 120 BPM
                                      0x00, 0x90, 60,   100,  0x60, 0x80, 60,   0,  // a quarter note
                                      0x00, 0xFF, 0x2F, 0x00};
  std::vector<uint8_t> f = {'M', 'T', 'h', 'd', 0,   0,   0,   6, 0, 0, 0,
                            1,   0,   96,  'M', 'T', 'r', 'k', 0, 0, 0, uint8_t(track.size())};
  f.reserve(f.size() + track.size());
  for (uint8_t b : track) f.push_back(b);
  return f;
}

}  // namespace

TEST(ArrangementFile, NamesTheMidiFileBesideTheArrangement) {
  kvtool::Arrangement a;
  std::string error;
  ASSERT_TRUE(kvtool::parseArrangement("; song\nMIDI = songs/theme.mid ; the tune\n", "music/theme.arr", a, error))
      << error;
  EXPECT_EQ(a.midiFile, std::filesystem::path("music/songs/theme.mid"));
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"", "a.arr: no MIDI file is named (expected a line \"midi = <file>\")"},
      {"midi theme.mid\n", "a.arr, line 1: expected \"key = value\""},
      {"\ntempo = 120\n", "a.arr, line 2: unknown key \"tempo\""},
      {"midi = a.mid\nmidi = b.mid\n", "a.arr, line 2: the MIDI file is named twice"},
      {"midi =\n", "a.arr, line 1: the MIDI file name is empty"},
  };
  for (const auto& c : cases) {
    kvtool::Arrangement b;
    EXPECT_FALSE(kvtool::parseArrangement(c.text, "a.arr", b, error));
    EXPECT_EQ(error, c.error);
  }
}

TEST(Kvtool, WritesTheSameSongAsMid2trkInBothByteOrders) {
  TempDir dir;
  dir.write("tunes/one.mid", oneNoteMidi());
  dir.write("one.arr", "midi = tunes/one.mid\n");
  for (const auto& [kvOption, midiOption] : {std::pair<std::string, std::string>{"", "-P"}, {"-B", "-N"}}) {
    // An empty switch, as the converter's command form allows, is no argument.
    const std::vector<std::string> args = {kvOption, "one.arr", "kv.song"};
    const CliResult kv = runProgram(KVTOOL_EXE, args, dir.path());
    EXPECT_EQ(kv.exitCode, 0) << kv.out << kv.err;
    const CliResult mid = runProgram(MID2TRK_EXE, {midiOption, "tunes/one.mid", "mid.song"}, dir.path());
    ASSERT_EQ(mid.exitCode, 0) << mid.out;
    const std::vector<uint8_t> song = dir.readBytes("kv.song");
    EXPECT_EQ(song, dir.readBytes("mid.song"));
    ASSERT_GE(song.size(), 4u);
    // The first header word is the same small number in either byte order.
    if (kvOption.empty())
      EXPECT_EQ(song[3], 0);
    else
      EXPECT_EQ(song[0], 0);
  }
}

TEST(Kvtool, FailsWithoutWritingASong) {
  TempDir dir;
  dir.write("bad.arr", "midi = missing.mid\n");
  dir.write("notmidi.mid", "hello");
  dir.write("notmidi.arr", "midi = notmidi.mid\n");
  const CliResult usage = runProgram(KVTOOL_EXE, {"one.arr"}, dir.path());
  EXPECT_EQ(usage.exitCode, 2);
  EXPECT_EQ(usage.err, "Usage: kvtool [-B] <arrangement> <song>\n -B  write the song big-endian\n");
  EXPECT_EQ(runProgram(KVTOOL_EXE, {"-X", "a", "b"}, dir.path()).exitCode, 2);
  const CliResult missingArr = runProgram(KVTOOL_EXE, {"none.arr", "out.song"}, dir.path());
  EXPECT_EQ(missingArr.exitCode, 1);
  EXPECT_EQ(missingArr.err, "kvtool: cannot open none.arr: No such file or directory\n");
  EXPECT_EQ(runProgram(KVTOOL_EXE, {"bad.arr", "out.song"}, dir.path()).exitCode, 1);
  EXPECT_EQ(runProgram(KVTOOL_EXE, {"notmidi.arr", "out.song"}, dir.path()).exitCode, 1);
  EXPECT_FALSE(dir.exists("out.song"));
}

TEST(Kvtool, ReadsAnArrangementFromAPipeAndItsMidiFileFromTheCurrentFolder) {
  TempDir dir;
  dir.write("tunes/one.mid", oneNoteMidi());
  const std::string command = std::string("echo 'midi = tunes/one.mid' | '") + KVTOOL_EXE + "' /dev/stdin kv.song";
  const CliResult kv = runProgram("/bin/sh", {"-c", command}, dir.path());
  ASSERT_EQ(kv.exitCode, 0) << kv.err;
  ASSERT_EQ(runProgram(MID2TRK_EXE, {"-P", "tunes/one.mid", "mid.song"}, dir.path()).exitCode, 0);
  EXPECT_EQ(dir.readBytes("kv.song"), dir.readBytes("mid.song"));
}

TEST(VoconvWithRealTools, MakesEachSongOnceAndFindsItInTheOutputFolder) {
  TempDir dir;
  dir.write("proj/MIDIfiles/intro.mid", oneNoteMidi());
  dir.write("proj/MIDIfiles/theme.mid", oneNoteMidi());
  dir.write("proj/MIDIfiles/theme.arr", "midi = theme.mid\n");
  dir.write("proj/macrodef.vqd", "");
  dir.write("proj/s.txt",
            "[Songgroup]\nName=Music\nMidiSetup\n{\nName=Level_1\nFilename=intro.mid\nChannelsetup=1,0,0,0,0,0\n}\n"
            "MidiSetup\n{\nName=Theme\nFilename=theme.arr\nChannelsetup=1,0,0,0,0,0\n}\n"
            "[Songgroup]\nName=Again\nMidiSetup\n{\nName=Level_1\nFilename=intro.mid\nChannelsetup=2,0,0,0,0,0\n}\n");
  dir.write("d.txt", "[OutputDirectory]\nout\n");
  std::filesystem::create_directory(dir / "out");
  const std::string path = "PATH=" + std::filesystem::path(MID2TRK_EXE).parent_path().string() + ":/usr/bin:/bin";
  const CliResult r = runProgram(VOCONV_EXE, {"-b", "-p", "proj", "s.txt", "d.txt"}, dir.path(), {}, {path});
  EXPECT_EQ(r.out.find("*** Warning"), std::string::npos) << r.out;
  const std::string introRun = "Using external tool to convert <proj/MIDIfiles/intro.mid>...";
  ASSERT_NE(r.out.find(introRun), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find(introRun), r.out.rfind(introRun));
  const CliResult mid = runProgram(MID2TRK_EXE, {"-N", "proj/MIDIfiles/intro.mid", "expected.song"}, dir.path());
  ASSERT_EQ(mid.exitCode, 0);
  EXPECT_EQ(dir.readBytes("out/Level_1.song"), dir.readBytes("expected.song"));
  EXPECT_TRUE(dir.exists("out/Theme.song"));
}
