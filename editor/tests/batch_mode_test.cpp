// vtqedit's batch mode, run as a program in a temporary folder.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <sstream>

#include "common/byte_order.h"
#include "common/testing/cli_run.h"
#include "core/batch_mode.h"
#include "core/document.h"
#include "core/document_lock.h"
#include "core/launch_mode.h"

using testing_support::CliResult;
using testing_support::runProgram;
using testing_support::TempDir;

namespace {

using Bytes = std::vector<uint8_t>;
using Args = std::vector<std::string>;

CliResult vtqedit(const TempDir& dir, const Args& args) { return runProgram(VTQEDIT_EXE, args, dir.path()); }

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }
Bytes le32(uint32_t v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; }
Bytes newClass(const std::string& name) {
  return Bytes{0xFF, 0xFF, 0x01, 0x00, uint8_t(name.size()), 0x00} + text(name);
}

const char* const kTitles =
    "Insert Time Code\tTimed\tToy Response Time\tRetransmit\tFile Name\tCommand\tParameters\tByte Code\n";
const char* const kWarning = "Warning!\nTransmission of this command will conflict with other command.\n";

void add(const TempDir& dir, const Args& args) {
  Args all = {"--add", "scene.qtd"};
  all.insert(all.end(), args.begin(), args.end());
  const CliResult r = vtqedit(dir, all);
  ASSERT_EQ(r.exitCode, 0) << r.err;
}

}  // namespace

TEST(BatchMode, HelpPrintsTheUsage) {
  TempDir dir;
  const CliResult help = vtqedit(dir, {"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.out.rfind("Usage: vtqedit --list DOC.qtd\n", 0), 0u) << help.out;
  EXPECT_TRUE(dir.files().empty());
}

// The window is for no argument or one document; options go to the batch mode.
TEST(BatchMode, OnlyOptionsRunWithoutTheWindow) {
  const struct {
    Args args;
    bool window;
    std::optional<std::string> document;
    std::optional<std::string> sound = std::nullopt;
  } cases[] = {
      {{}, true, std::nullopt},
      {{"scene.qtd"}, true, "scene.qtd"},
      {{"scene.qtd", "--sound", "mix.wav"}, true, "scene.qtd", "mix.wav"},
      {{"--sound", "mix.wav", "scene.qtd"}, true, "scene.qtd", "mix.wav"},
      {{"--list", "--sound", "mix.wav"}, false, std::nullopt},
      {{"--list", "scene.qtd"}, false, std::nullopt},
      {{"--help"}, false, std::nullopt},
      {{"a.qtd", "b.qtd"}, false, std::nullopt},
  };
  for (const auto& c : cases) {
    const auto launch = vtq::windowLaunchFor(c.args);
    ASSERT_EQ(launch.has_value(), c.window) << c.args.size();
    if (launch) {
      EXPECT_EQ(launch->document, c.document);
      EXPECT_EQ(launch->sound, c.sound);
    }
  }
}

TEST(BatchMode, UsageAndRangeErrorsTouchNoFile) {
  struct Case {
    Args args;
    int exitCode;
    const char* messagePart;
  };
  const Case cases[] = {
      {{"--frobnicate"}, 2, "unknown argument \"--frobnicate\""},
      {{"--list"}, 2, "--list needs a document"},
      {{"--list", "a.qtd", "--delete", "a.qtd"}, 2, "only one of"},
      {{"--add", "s.qtd", "--command", "KEEP_ALIVE"}, 2, "--at is missing"},
      {{"--add", "s.qtd", "--at", "00:00:01:00"}, 2, "--command is missing"},
      {{"--add", "s.qtd", "--at", "00:00:01:00", "--command", "JUMP"}, 2, "unknown command \"JUMP\""},
      {{"--add", "s.qtd", "--at", "0:0:1", "--command", "KEEP_ALIVE"}, 2, "--at needs HH:MM:SS:FF"},
      {{"--add", "s.qtd", "--at", "00:00:01:00:00", "--command", "KEEP_ALIVE"}, 2, "--at needs HH:MM:SS:FF"},
      {{"--add", "s.qtd", "--at", "00:00:01:0x", "--command", "KEEP_ALIVE"}, 2, "--at needs HH:MM:SS:FF"},
      {{"--add", "s.qtd", "--at", "00:00:01:00", "--command", "KEEP_ALIVE", "--param", "3"}, 2, "takes no parameter"},
      {{"--add", "s.qtd", "--at", "00:00:01:00", "--command", "PLAY_SOUND", "--mode", "icon"},
       2,
       "SHOW_ANIMATION only"},
      {{"--add", "s.qtd", "--at", "00:00:01:00", "--command", "PLAY_SOUND", "--param", "AB_SHIELD"},
       2,
       "not a sound or voice name"},
      {{"--add", "s.qtd", "--at", "00:00:01:00", "--command", "SHOW_ANIMATION", "--mode", "spin"}, 2, "--mode is"},
      {{"--add", "s.qtd", "--at", "00:00:01:00", "--command", "SHOW_ANIMATION", "--mode", "once", "--icon", "2"},
       2,
       "--icon goes with --mode icon"},
      {{"--add", "s.qtd", "--at", "00:00:01:00", "--command", "KEEP_ALIVE", "--rate", "22050"}, 2, "--rate is"},
      {{"--add", "s.qtd", "--at", "00:00:01:00", "--command", "KEEP_ALIVE", "--repeat", "x"}, 2, "needs a number"},
      {{"--delete", "s.qtd", "--at", "00:00:01:00", "--command", "KEEP_ALIVE"}, 2, "does not go with"},
      {{"--list", "s.qtd", "--ignore-conflict"}, 2, "--ignore-conflict goes with --add, --shift and --import only"},
      {{"--add", "s.qtd", "--at", "24:00:00:00", "--command", "KEEP_ALIVE"}, 5, "not a time code"},
      {{"--add", "s.qtd", "--at", "00:60:00:00", "--command", "KEEP_ALIVE"}, 5, "not a time code"},
      {{"--add", "s.qtd", "--at", "00:00:00:25", "--command", "KEEP_ALIVE"}, 5, "not a time code"},
      {{"--add", "s.qtd", "--at", "00:00:01:00", "--command", "KEEP_ALIVE", "--repeat", "16"}, 5, "--repeat 16"},
      {{"--add", "s.qtd", "--at", "00:00:01:00", "--command", "ENABLE_ABILITY", "--param", "256"}, 5, "--param 256"},
      {{"--add", "s.qtd", "--at", "00:00:01:00", "--command", "PLAY_SOUND", "--param", "65536"}, 5, "--param 65536"},
      {{"--add", "s.qtd", "--at", "00:00:01:00", "--command", "KEEP_ALIVE", "--repeat", "99999999999999999999999"},
       5,
       "out of range"},
      {{"--add", "s.qtd", "--at", "00:00:01:00", "--command", "SHOW_ANIMATION", "--icon", "256"}, 5, "--icon 256"},
      {{"--add", "s.qtd", "--at", "00:00:01:00", "--command", "SHOW_ANIMATION", "--icon", "0"}, 5, "--icon 0"},
      {{"--add", "s.qtd", "--at", "00:00:01:00", "--command", "KEEP_ALIVE", "--respond", "00:04:17:00"},
       5,
       "not 0 to 255 seconds after"},
      {{"--add", "s.qtd", "--at", "00:00:01:00", "--command", "KEEP_ALIVE", "--respond", "00:00:00:24"},
       5,
       "not 0 to 255 seconds after"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const CliResult r = vtqedit(dir, c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.args[0] << " ... " << c.args.back() << ": " << r.err;
    EXPECT_NE(r.err.find(c.messagePart), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("Usage: vtqedit") != std::string::npos, c.exitCode == 2) << r.err;
    EXPECT_TRUE(dir.files().empty()) << c.messagePart;
  }
}

TEST(BatchMode, AddCreatesTheDocumentAndItsWaveFileByteForByte) {
  TempDir dir;
  add(dir, {"--at", "00:00:10:00", "--command", "KEEP_ALIVE"});
  // The lock file stays beside the document for the next run.
  EXPECT_EQ(dir.files(), (std::vector<std::string>{".scene.qtd.lock", "scene.qtd", "scene00001000.wav"}));
  const Bytes expected = Bytes{0x01, 0x00} + newClass("CCommand") + le32(250) + le32(250) + newClass("CParam") +
                         le32(0) + Bytes{0x00, 0x10} + le32(0) + Bytes{17} + text("scene00001000.wav") + Bytes{0x04} +
                         text("0x10") + le32(44100);
  EXPECT_EQ(dir.readBytes("scene.qtd"), expected);
  // 10 ms of silence and 56 bits of 118 samples.
  EXPECT_EQ(dir.readBytes("scene00001000.wav").size(), 44u + 2 * (441 + 56 * 118));

  add(dir, {"--at", "00:00:12:00", "--command", "PLAY_SOUND", "--param", "5", "--rate", "48000", "--repeat", "1"});
  const Bytes second = Bytes{0x02, 0x00} + Bytes(expected.begin() + 2, expected.end() - 4) + Bytes{0x01, 0x80} +
                       le32(300) + le32(300) + newClass("CPlaySound") + Bytes{0x05, 0x00} + le32(0) +
                       Bytes{0x01, 0x22} + le32(0) + Bytes{17} + text("scene00001200.wav") + Bytes{0x08} +
                       text("0x220500") + le32(48000);
  EXPECT_EQ(dir.readBytes("scene.qtd"), second);
  // 480 silent samples, 21 nibbles of 120 samples a bit, 2400 silent samples, the packet again.
  const Bytes wave = dir.readBytes("scene00001200.wav");
  ASSERT_EQ(wave.size(), 44u + 2 * (480 + 84 * 120 + 2400 + 84 * 120));
  EXPECT_EQ(common::loadU32(&wave[24], common::Endian::Little), 48000u);
}

TEST(BatchMode, ListShowsTheEightColumns) {
  TempDir dir;
  add(dir, {"--at", "00:00:10:00", "--command", "KEEP_ALIVE"});
  add(dir, {"--at", "00:00:12:00", "--command", "ENABLE_ABILITY", "--param", "AB_SHIELD", "--respond", "00:00:42:00",
            "--repeat", "1"});
  add(dir, {"--at", "00:01:00:05", "--command", "SHOW_ANIMATION", "--param", "DRIVING_LIGHT", "--icon", "3"});
  add(dir, {"--at", "00:02:00:00", "--command", "SHOW_ANIMATION", "--param", "BONUS", "--mode", "once"});
  add(dir, {"--at", "00:03:00:00", "--command", "PLAY_SOUND", "--param", "300"});
  add(dir, {"--at", "00:04:00:00", "--command", "STOP_ABILITY"});
  const CliResult r = vtqedit(dir, {"--list", "scene.qtd"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(
      r.out,
      std::string(kTitles) +
          "00:00:10:00\tNo\t00:00:10:00\t0\tscene00001000.wav\tKEEP_ALIVE\t\t0x10\n"
          "00:00:12:00\tYes\t00:00:42:00\t1\tscene00001200.wav\tENABLE_ABILITY\tAB_SHIELD\t0x710B\n"
          "00:01:00:05\tNo\t00:01:00:05\t0\tscene00010005.wav\tSHOW_ANIMATION\tDRIVING_LIGHT, Icon 3\t0x53431607\n"
          "00:02:00:00\tNo\t00:02:00:00\t0\tscene00020000.wav\tSHOW_ANIMATION\tBONUS\t0x53800003\n"
          "00:03:00:00\tNo\t00:03:00:00\t0\tscene00030000.wav\tPLAY_SOUND\tVO_SCAN004\t0x222C01\n"
          "00:04:00:00\tNo\t00:04:00:00\t0\tscene00040000.wav\tSTOP_ABILITY\t\t0xF0\n");
  EXPECT_EQ(r.err, "");
}

TEST(BatchMode, AConflictExitsWith3AndChangesNothing) {
  TempDir dir;
  add(dir, {"--at", "00:00:10:00", "--command", "KEEP_ALIVE", "--repeat", "1"});
  const Bytes before = dir.readBytes("scene.qtd");
  const Bytes waveBefore = dir.readBytes("scene00001000.wav");
  for (const char* at : {"00:00:11:24", "00:00:10:00", "00:00:09:01"}) {
    const CliResult r = vtqedit(dir, {"--add", "scene.qtd", "--at", at, "--command", "STOP_ABILITY"});
    EXPECT_EQ(r.exitCode, 3) << at;
    EXPECT_EQ(r.err, kWarning);
    EXPECT_EQ(dir.readBytes("scene.qtd"), before);
  }
  // The command at the same time keeps its own wave file.
  EXPECT_EQ(dir.readBytes("scene00001000.wav"), waveBefore);
  // The lock file stays beside the document for the next run.
  EXPECT_EQ(dir.files(), (std::vector<std::string>{".scene.qtd.lock", "scene.qtd", "scene00001000.wav"}));

  add(dir, {"--at", "00:00:12:00", "--command", "STOP_ABILITY"});
  add(dir, {"--at", "00:00:12:10", "--command", "STOP_ABILITY", "--ignore-conflict"});
  const CliResult list = vtqedit(dir, {"--list", "scene.qtd"});
  EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 4);
}

TEST(BatchMode, DeleteRemovesTheCommandAtThatTime) {
  TempDir dir;
  add(dir, {"--at", "00:00:10:00", "--command", "KEEP_ALIVE"});
  add(dir, {"--at", "00:00:20:00", "--command", "STOP_ABILITY"});
  const CliResult missing = vtqedit(dir, {"--delete", "scene.qtd", "--at", "00:00:15:00"});
  EXPECT_EQ(missing.exitCode, 5);
  EXPECT_NE(missing.err.find("no command at 00:00:15:00"), std::string::npos) << missing.err;
  const CliResult r = vtqedit(dir, {"--delete", "scene.qtd", "--at", "00:00:10:00"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(dir.exists("scene00001000.wav"));
  const CliResult list = vtqedit(dir, {"--list", "scene.qtd"});
  EXPECT_EQ(list.out,
            std::string(kTitles) + "00:00:20:00\tNo\t00:00:20:00\t0\tscene00002000.wav\tSTOP_ABILITY\t\t0xF0\n");
}

TEST(BatchMode, DeleteTakesTheFirstCommandAtThatTimeWhereverTheFileHoldsIt) {
  TempDir dir;
  add(dir, {"--at", "00:00:10:00", "--command", "KEEP_ALIVE"});
  add(dir, {"--at", "00:00:20:00", "--command", "STOP_ABILITY"});
  add(dir, {"--at", "00:00:20:00", "--command", "KEEP_ALIVE", "--ignore-conflict"});  // listed first at 20 s
  // The first command moves to 25 s (625 frames, insert and response time):
  // a document whose file order is not sorted by time.
  Bytes document = dir.readBytes("scene.qtd");
  const Bytes at10 = le32(250) + le32(250);
  const auto found = std::search(document.begin(), document.end(), at10.begin(), at10.end());
  ASSERT_NE(found, document.end());
  const Bytes at25 = le32(625) + le32(625);
  std::copy(at25.begin(), at25.end(), found);
  dir.write("scene.qtd", document);

  for (const char* at : {"00:00:20:00", "00:00:25:00"}) {
    const CliResult r = vtqedit(dir, {"--delete", "scene.qtd", "--at", at});
    EXPECT_EQ(r.exitCode, 0) << at << ": " << r.err;
  }
  const CliResult list = vtqedit(dir, {"--list", "scene.qtd"});
  EXPECT_EQ(list.out,
            std::string(kTitles) + "00:00:20:00\tNo\t00:00:20:00\t0\tscene00002000.wav\tSTOP_ABILITY\t\t0xF0\n");
}

TEST(BatchMode, IconNumbersRunTo255) {
  TempDir dir;
  add(dir, {"--at", "00:00:10:00", "--command", "SHOW_ANIMATION", "--param", "BONUS", "--icon", "33"});
  add(dir, {"--at", "00:00:20:00", "--command", "SHOW_ANIMATION", "--param", "BONUS", "--icon", "255"});
  const CliResult list = vtqedit(dir, {"--list", "scene.qtd"});
  EXPECT_NE(list.out.find("\tBONUS, Icon 33\t"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("\tBONUS, Icon 255\t"), std::string::npos) << list.out;
}

TEST(BatchMode, MakeWavesRewritesEveryFileAtTheDocumentsRate) {
  TempDir dir;
  add(dir, {"--at", "00:00:10:00", "--command", "KEEP_ALIVE"});
  add(dir, {"--at", "00:00:20:00", "--command", "PLAY_SOUND", "--param", "SFX_Honk"});
  const Bytes first = dir.readBytes("scene00001000.wav");
  std::filesystem::remove(dir / "scene00001000.wav");
  std::filesystem::copy_file(dir / "scene.qtd", dir / "take2.qtd");
  CliResult r = vtqedit(dir, {"--make-waves", "scene.qtd"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(dir.readBytes("scene00001000.wav"), first);

  // A copy of the document gets wave files named after it.
  r = vtqedit(dir, {"--make-waves", "take2.qtd"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(dir.readBytes("take200001000.wav"), first);
  const CliResult list = vtqedit(dir, {"--list", "take2.qtd"});
  EXPECT_NE(list.out.find("\ttake200002000.wav\tPLAY_SOUND\tSFX_Honk\t"), std::string::npos) << list.out;
}

TEST(BatchMode, FileErrorsNameTheFileAndExitWith4) {
  TempDir dir;
  CliResult r = vtqedit(dir, {"--list", "none.qtd"});
  EXPECT_EQ(r.exitCode, 4);
  EXPECT_NE(r.err.find("Failed to open document."), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("none.qtd"), std::string::npos) << r.err;

  dir.write("junk.qtd", std::string("RIFF----WAVE"));
  r = vtqedit(dir, {"--add", "junk.qtd", "--at", "00:00:01:00", "--command", "KEEP_ALIVE"});
  EXPECT_EQ(r.exitCode, 4);
  EXPECT_NE(r.err.find("junk.qtd"), std::string::npos) << r.err;
  EXPECT_EQ(dir.readText("junk.qtd"), "RIFF----WAVE");

  // A wave file that cannot be created: the document keeps what it had.
  add(dir, {"--at", "00:00:10:00", "--command", "KEEP_ALIVE"});
  const Bytes before = dir.readBytes("scene.qtd");
  std::filesystem::create_directory(dir / "scene00002000.wav");
  r = vtqedit(dir, {"--add", "scene.qtd", "--at", "00:00:20:00", "--command", "KEEP_ALIVE"});
  EXPECT_EQ(r.exitCode, 4);
  EXPECT_NE(r.err.find("scene00002000.wav"), std::string::npos) << r.err;
  EXPECT_EQ(dir.readBytes("scene.qtd"), before);

  std::filesystem::remove(dir / "scene00001000.wav");
  std::filesystem::create_directory(dir / "scene00001000.wav");
  r = vtqedit(dir, {"--make-waves", "scene.qtd"});
  EXPECT_EQ(r.exitCode, 4);
  EXPECT_NE(r.err.find("scene00001000.wav"), std::string::npos) << r.err;
}

TEST(BatchMode, AFailedSaveLeavesThePreviousDocument) {
  TempDir dir;
  for (int s = 0; s < 40; ++s) {
    add(dir, {"--at", "00:00:" + std::to_string(10 + s).substr(0, 2) + ":00", "--command", "KEEP_ALIVE"});
  }
  const Bytes before = dir.readBytes("scene.qtd");
  ASSERT_GT(before.size(), 1024u);
  // Files may grow to 1 KiB only: writing the smaller document still fails.
  const CliResult r = runProgram(
      "/bin/bash",
      {"-c", std::string("trap '' XFSZ; ulimit -f 1; exec '") + VTQEDIT_EXE + "' --delete scene.qtd --at 00:00:10:00"},
      dir.path());
  EXPECT_EQ(r.exitCode, 4) << r.err;
  EXPECT_NE(r.err.find("Failed to save document."), std::string::npos) << r.err;
  EXPECT_EQ(dir.readBytes("scene.qtd"), before);
  for (const std::string& name : dir.files()) EXPECT_EQ(name.find(".vtqedit-"), std::string::npos) << name;
}

TEST(BatchMode, AddThroughALinkChangesTheLinkedDocument) {
  TempDir dir;
  ASSERT_EQ(vtqedit(dir, {"--add", "real.qtd", "--at", "00:00:01:00", "--command", "KEEP_ALIVE"}).exitCode, 0);
  std::filesystem::create_directory(dir / "real");
  std::filesystem::rename(dir / "real.qtd", dir / "real/doc.qtd");
  std::filesystem::create_symlink("real/doc.qtd", dir / "link.qtd");
  ASSERT_EQ(vtqedit(dir, {"--add", "link.qtd", "--at", "00:00:09:00", "--command", "KEEP_ALIVE"}).exitCode, 0);
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.qtd"));
  const CliResult list = vtqedit(dir, {"--list", "real/doc.qtd"});
  EXPECT_NE(list.out.find("00:00:01:00"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("00:00:09:00"), std::string::npos) << list.out;
}

// Runs the batch mode in this process, with a short wait for a held lock.
int batch(const Args& args, std::string& err) {
  std::ostringstream out, errors;
  common::Output o(out), e(errors);
  vtq::BatchRun run{o, e, std::chrono::milliseconds(50)};
  const int code = vtq::runBatchMode(args, run);
  err = errors.str();
  return code;
}

// Two runs on one document at once take turns: neither command is lost, also
// when the first run creates the document. Twenty pairs race at once, each
// on its own document.
TEST(BatchMode, ConcurrentAddsLoseNoCommand) {
  TempDir dir;
  const std::string exe = VTQEDIT_EXE;
  std::string script = "f=0; p=; ";
  for (int pair = 0; pair < 20; ++pair) {
    const std::string doc = (dir / ("p" + std::to_string(pair))).string() + "/scene.qtd";
    std::filesystem::create_directory(dir / ("p" + std::to_string(pair)));
    std::string err;
    if (pair % 2) {
      ASSERT_EQ(batch({"--add", doc, "--at", "00:00:01:00", "--command", "KEEP_ALIVE"}, err), 0) << err;
    }
    for (const char* at : {"00:00:10:00", "00:00:20:00"})
      script += "'" + exe + "' --add '" + doc + "' --command KEEP_ALIVE --at " + at + " & p=\"$p $!\"; ";
  }
  script += "for i in $p; do wait $i || f=1; done; exit $f";
  const CliResult r = runProgram("/bin/bash", {"-c", script}, dir.path());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  for (int pair = 0; pair < 20; ++pair) {
    vtq::CQuorlinVTQEditorDoc document;
    vtq::DocumentError error;
    ASSERT_TRUE(document.openDocument(dir / ("p" + std::to_string(pair)) / "scene.qtd", error)) << error.message;
    std::vector<std::string> times;
    for (const auto& command : document.commands()) times.push_back(command->insertTime().text());
    std::sort(times.begin(), times.end());
    const std::vector<std::string> expected =
        pair % 2 ? std::vector<std::string>{"00:00:01:00", "00:00:10:00", "00:00:20:00"}
                 : std::vector<std::string>{"00:00:10:00", "00:00:20:00"};
    EXPECT_EQ(times, expected) << "pair " << pair;
  }
}

// A run that cannot have the lock in time gives up with exit 4 and changes
// nothing; the lock is the same for a link to the document and the document.
TEST(BatchMode, AHeldLockMakesEveryChangingCommandGiveUp) {
  TempDir dir;
  add(dir, {"--at", "00:00:10:00", "--command", "KEEP_ALIVE"});
  std::filesystem::create_symlink("scene.qtd", dir / "link.qtd");
  std::string error;
  ASSERT_EQ(batch({"--export", (dir / "scene.qtd").string(), (dir / "list.csv").string()}, error), 0) << error;
  const Bytes before = dir.readBytes("scene.qtd");
  const auto held = vtq::DocumentLock::acquire(dir / "scene.qtd", std::chrono::milliseconds(0), error);
  ASSERT_TRUE(held) << error;
  EXPECT_FALSE(vtq::DocumentLock::tryAcquire(dir / "link.qtd", error));
  const std::string doc = (dir / "link.qtd").string();
  const Args commands[] = {{"--add", doc, "--at", "00:00:20:00", "--command", "KEEP_ALIVE"},
                           {"--delete", doc, "--at", "00:00:10:00"},
                           {"--make-waves", doc},
                           {"--shift", doc, "--by", "00:00:01:00"},
                           {"--import", doc, (dir / "list.csv").string()}};
  for (const Args& args : commands) {
    std::string err;
    EXPECT_EQ(batch(args, err), 4) << args[0];
    EXPECT_EQ(err, "vtqedit: cannot lock " + doc + ": another program is changing it\n");
  }
  EXPECT_EQ(dir.readBytes("scene.qtd"), before);
  EXPECT_FALSE(dir.exists("scene00002000.wav"));
}

// Where the folder cannot be written the document itself is locked.
TEST(BatchMode, AReadOnlyFolderLocksTheDocumentItself) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes any folder";
  TempDir dir;
  add(dir, {"--at", "00:00:10:00", "--command", "KEEP_ALIVE"});
  std::filesystem::remove(dir / ".scene.qtd.lock");
  std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
  std::string error;
  const auto held = vtq::DocumentLock::tryAcquire(dir / "scene.qtd", error);
  std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
  ASSERT_TRUE(held) << error;
  EXPECT_EQ(held->lockPath(), dir / "scene.qtd");
  EXPECT_FALSE(dir.exists(".scene.qtd.lock"));
}
