#include <gtest/gtest.h>

#include <algorithm>

#include <sys/stat.h>

#include "common/testing/cli_run.h"

using testing_support::CliResult;
using testing_support::runProgram;
using testing_support::TempDir;

namespace {

CliResult kalptrim(const TempDir& dir, const std::vector<std::string>& args) {
  return runProgram(KALPTRIM_EXE, args, dir.path());
}

// A KALP header with the given version and channel fields, then `dataSize`
// bytes counting up from 0.
std::vector<uint8_t> kalpFile(size_t dataSize, uint8_t version = 1, uint8_t channels = 1) {
  const uint8_t head[] = {'K', 'A', 'L', 'P', 0, 0, version, 0, 0, 0, 16, 0, 60, 0, channels, 0};
  std::vector<uint8_t> f(44, 0xEE);
  std::copy(std::begin(head), std::end(head), f.begin());
  for (size_t i = 0; i < dataSize; ++i) f.push_back(uint8_t(i * 7 + 3));
  return f;
}

constexpr const char* kNotKalp = "\nThis is not a K.A.L.P. file. \n";

}  // namespace

TEST(Kalptrim, PrintsUsageWithFewerThanTwoArguments) {
  TempDir dir;
  for (const auto& args : {std::vector<std::string>{}, std::vector<std::string>{"in.kalp"}}) {
    const CliResult r = kalptrim(dir, args);
    EXPECT_EQ(r.out, "\n\nUsage:- KalpTrim Infile Outfile\n\n");
    EXPECT_EQ(r.exitCode, 255);
  }
  EXPECT_TRUE(dir.files().empty());
}

TEST(Kalptrim, RejectsFilesWithoutTheMagicAndCreatesNothing) {
  const std::vector<std::vector<uint8_t>> inputs = {
      {},
      {'K', 'A', 'L'},                   // ends inside the magic
      {'K', 'A', 'L', 'Q', 0, 0, 1, 0},  // last magic byte differs
      {'k', 'A', 'L', 'P', 0, 0, 1, 0},  // case matters
      {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'},
  };
  for (const auto& input : inputs) {
    TempDir dir;
    dir.write("in.bin", input);
    const CliResult r = kalptrim(dir, {"in.bin", "out.bin"});
    EXPECT_EQ(r.out, kNotKalp);
    EXPECT_EQ(r.exitCode, 254);
    EXPECT_FALSE(dir.exists("out.bin"));
  }
}

TEST(Kalptrim, NamesAnInputThatCannotBeOpened) {
  TempDir dir;
  const CliResult r = kalptrim(dir, {"missing.kalp", "out.bin"});
  EXPECT_EQ(r.out, "\nCannot find missing.kalp\n");
  EXPECT_EQ(r.exitCode, 253);
  EXPECT_FALSE(dir.exists("out.bin"));
}

TEST(Kalptrim, NamesAnInputThatOpensButCannotBeRead) {
  TempDir dir;
  std::filesystem::create_directory(dir / "folder");
  // A folder opens but gives EISDIR; the process's own memory at address 0 gives EIO.
  for (const std::string name : {"folder", "/proc/self/mem"}) {
    const CliResult r = kalptrim(dir, {name, "out.bin"});
    EXPECT_EQ(r.out, "\nCannot read " + name + "\n");
    EXPECT_EQ(r.exitCode, 251);
    EXPECT_FALSE(dir.exists("out.bin"));
  }
}

TEST(Kalptrim, ReadsItsInputFromAPipe) {
  TempDir dir;
  const auto input = kalpFile(70000);
  dir.write("in.kalp", input);
  const CliResult r =
      runProgram("/bin/sh", {"-c", std::string("cat in.kalp | '") + KALPTRIM_EXE + "' /dev/stdin out.raw"}, dir.path());
  EXPECT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(dir.readBytes("out.raw"), std::vector<uint8_t>(input.begin() + 44, input.end()));
}

TEST(Kalptrim, CopiesEverythingAfterTheHeaderAndIgnoresFurtherArguments) {
  struct Case {
    size_t dataSize;
    uint8_t version;
    uint8_t channels;
  };
  // 1044 bytes in all; a bare header; a file with wrong version and channel
  // fields (only the magic is checked); more than one copy buffer.
  for (const Case c : {Case{1000, 1, 1}, Case{0, 1, 1}, Case{10, 7, 2}, Case{(1 << 20) + 17, 1, 1}}) {
    TempDir dir;
    const auto input = kalpFile(c.dataSize, c.version, c.channels);
    dir.write("in.kalp", input);
    dir.write("out.raw", std::string("previous contents"));
    const CliResult r = kalptrim(dir, {"in.kalp", "out.raw", "extra", "-x"});
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(dir.readBytes("out.raw"), std::vector<uint8_t>(input.begin() + 44, input.end()));
    EXPECT_EQ(dir.files(), (std::vector<std::string>{"in.kalp", "out.raw"}));
  }
}

TEST(Kalptrim, AHeaderCutShortGivesAnEmptyOutput) {
  TempDir dir;
  dir.write("short.kalp", std::vector<uint8_t>{'K', 'A', 'L', 'P', 0, 0, 1});
  const CliResult r = kalptrim(dir, {"short.kalp", "out.raw"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(dir.exists("out.raw"));
  EXPECT_TRUE(dir.readBytes("out.raw").empty());
}

TEST(Kalptrim, CutsAFileOntoItself) {
  TempDir dir;
  const auto input = kalpFile(100);
  dir.write("a.kalp", input);
  const CliResult r = kalptrim(dir, {"a.kalp", "a.kalp"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(dir.readBytes("a.kalp"), std::vector<uint8_t>(input.begin() + 44, input.end()));
}

TEST(Kalptrim, ReportsAnOutputThatCannotBeCreatedAndLeavesNothing) {
  TempDir dir;
  dir.write("in.kalp", kalpFile(50));
  std::filesystem::create_directory(dir / "folder");
  for (const std::string out : {"no/such/folder/out.raw", "folder"}) {
    const CliResult r = kalptrim(dir, {"in.kalp", out});
    EXPECT_EQ(r.out, "\nCannot create " + out + "\n");
    EXPECT_EQ(r.exitCode, 252);
    EXPECT_EQ(dir.files(), std::vector<std::string>{"in.kalp"});
  }
  if (::geteuid() != 0) {  // root may write into a read-only folder
    std::filesystem::create_directory(dir / "ro");
    ::chmod((dir / "ro").c_str(), 0555);
    const CliResult r = kalptrim(dir, {"in.kalp", "ro/out.raw"});
    EXPECT_EQ(r.exitCode, 252);
    EXPECT_FALSE(dir.exists("ro/out.raw"));
  }
}

TEST(Kalptrim, WritesThroughOpenDescriptorsAndKeepsMessagesOutOfTheData) {
  struct Case {
    const char* script;  // K is kalptrim; f starts as "old"
    std::string f;       // f afterwards, with D for the data
    std::string err;
  };
  const std::string d = "DDDD";
  const std::vector<Case> cases = {
      {"for x in 1 2 3; do $K a.kalp /dev/stdout; done >> f", "old" + d + d + d, ""},
      {"exec 5>>f; echo x >&5; $K a.kalp /dev/fd/5; echo y >&5", "oldx\n" + d + "y\n", ""},
      {"$K none.kalp /dev/stdout >> f", "old", "\nCannot find none.kalp\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    TempDir dir;
    dir.write("a.kalp", kalpFile(4));
    dir.write("f", std::string("old"));
    const CliResult r = runProgram("/bin/sh", {"-c", std::string("K='") + KALPTRIM_EXE + "'; " + c.script}, dir.path());
    const auto data = kalpFile(4);
    std::string expected = c.f;
    for (size_t at; (at = expected.find(d)) != std::string::npos;)
      expected.replace(at, d.size(), std::string(data.begin() + 44, data.end()));
    EXPECT_EQ(dir.readText("f"), expected);
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(dir.files(), (std::vector<std::string>{"a.kalp", "f"}));
  }
}
