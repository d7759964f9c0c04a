// vtqedit --shift, --export and --import, run as a program in a temporary folder.
#include <gtest/gtest.h>

#include "common/testing/cli_run.h"

using testing_support::CliResult;
using testing_support::runProgram;
using testing_support::TempDir;

namespace {

using Args = std::vector<std::string>;

CliResult vtqedit(const TempDir& dir, const Args& args) { return runProgram(VTQEDIT_EXE, args, dir.path()); }

void run(const TempDir& dir, const Args& args) {
  const CliResult r = vtqedit(dir, args);
  ASSERT_EQ(r.exitCode, 0) << r.err;
}

// scene.qtd: KEEP_ALIVE at 10 s (1 retransmission), ENABLE_ABILITY at 12 s
// timed to 42 s, STOP_ABILITY at 20 s.
void makeScene(const TempDir& dir) {
  run(dir, {"--add", "scene.qtd", "--at", "00:00:10:00", "--command", "KEEP_ALIVE", "--repeat", "1"});
  run(dir, {"--add", "scene.qtd", "--at", "00:00:12:00", "--command", "ENABLE_ABILITY", "--param", "AB_SHIELD",
            "--respond", "00:00:42:00"});
  run(dir, {"--add", "scene.qtd", "--at", "00:00:20:00", "--command", "STOP_ABILITY"});
}

// Insert time, response time and file name of every row of --list.
std::string rows(const TempDir& dir, const char* document = "scene.qtd") {
  const CliResult list = vtqedit(dir, {"--list", document});
  std::string text;
  size_t start = list.out.find('\n') + 1;
  while (start < list.out.size()) {
    const size_t end = list.out.find('\n', start);
    std::vector<std::string> fields;
    for (size_t at = start; at <= end;) {
      const size_t tab = std::min(list.out.find('\t', at), end);
      fields.push_back(list.out.substr(at, tab - at));
      at = tab + 1;
    }
    text += fields[0] + " " + fields[2] + " " + fields[4] + "\n";
    start = end + 1;
  }
  return text;
}

}  // namespace

TEST(BatchEdits, ShiftMovesTheChosenCommandsOrChangesNothing) {
  const struct {
    Args args;
    int exitCode;
    const char* rows;  // empty: as before
    const char* messagePart;
  } cases[] = {
      {{"--by", "00:00:02:00"},
       0,
       "00:00:12:00 00:00:12:00 scene00001200.wav\n00:00:14:00 00:00:44:00 scene00001400.wav\n"
       "00:00:22:00 00:00:22:00 scene00002200.wav\n",
       ""},
      {{"--by", "00:00:01:05", "--from", "00:00:12:00", "--to", "00:00:12:00"},
       0,
       "00:00:10:00 00:00:10:00 scene00001000.wav\n00:00:13:05 00:00:43:05 scene00001305.wav\n"
       "00:00:20:00 00:00:20:00 scene00002000.wav\n",
       ""},
      {{"--by", "+00:01:00:00", "--from", "00:00:11:00"},
       0,
       "00:00:10:00 00:00:10:00 scene00001000.wav\n00:01:12:00 00:01:42:00 scene00011200.wav\n"
       "00:01:20:00 00:01:20:00 scene00012000.wav\n",
       ""},
      {{"--by", "-00:00:10:01"}, 5, "", "moves the command at 00:00:10:00 (KEEP_ALIVE) out of the day"},
      {{"--by", "23:59:20:00", "--from", "00:00:12:00"}, 5, "", "moves the command at 00:00:12:00 (ENABLE_ABILITY)"},
      {{"--by", "-00:00:01:00", "--from", "00:00:12:00", "--to", "00:00:12:00"},
       3,
       "",
       "the command at 00:00:11:00 (ENABLE_ABILITY) would overlap the command at 00:00:10:00 (KEEP_ALIVE)"},
      {{"--by", "00:00:00:01", "--from", "00:00:30:00"}, 0, "", "no command from 00:00:30:00 to 23:59:59:24"},
      {{"--by", "00:00:01"}, 2, "", "--by needs HH:MM:SS:FF"},
      {{"--by", "-24:00:00:00"}, 5, "", "--by 24:00:00:00 is not a time code"},
      {{"--from", "00:00:01:00"}, 2, "", "--by is missing"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    makeScene(dir);
    const std::string before = rows(dir);
    const auto filesBefore = dir.files();
    Args args = {"--shift", "scene.qtd"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CliResult r = vtqedit(dir, args);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.args[1] << ": " << r.err;
    EXPECT_NE(r.err.find(c.messagePart), std::string::npos) << r.err;
    EXPECT_EQ(rows(dir), *c.rows ? c.rows : before) << c.args[1];
    if (!*c.rows) {
      EXPECT_EQ(dir.files(), filesBefore) << c.args[1];
    }
  }
}

// A shifted command's wave file is the one --add writes at the new time; the
// old file stays.
TEST(BatchEdits, ShiftWritesTheWaveFilesUnderTheNewNames) {
  TempDir dir;
  makeScene(dir);
  run(dir, {"--shift", "scene.qtd", "--by", "00:00:00:07", "--from", "00:00:12:00", "--to", "00:00:12:00"});
  TempDir fresh;
  run(fresh, {"--add", "scene.qtd", "--at", "00:00:12:07", "--command", "ENABLE_ABILITY", "--param", "AB_SHIELD",
              "--respond", "00:00:42:07"});
  EXPECT_EQ(dir.readBytes("scene00001207.wav"), fresh.readBytes("scene00001207.wav"));
  EXPECT_TRUE(dir.exists("scene00001200.wav"));
  run(dir, {"--shift", "scene.qtd", "--by", "-00:00:00:07", "--ignore-conflict"});
}

TEST(BatchEdits, AnExportImportedIntoANewDocumentGivesTheSameCommands) {
  TempDir dir;
  makeScene(dir);
  run(dir, {"--add", "scene.qtd", "--at", "00:01:00:05", "--command", "SHOW_ANIMATION", "--param", "DRIVING_LIGHT",
            "--icon", "3"});
  run(dir, {"--export", "scene.qtd", "list.csv"});
  EXPECT_EQ(dir.readText("list.csv").substr(0, 109),
            "insert_time,timed,response_time,retransmissions,command,parameter,mode,icon,file_name,byte_code\r\n"
            "00:00:10:00,");
  run(dir, {"--import", "copy.qtd", "list.csv"});
  const CliResult original = vtqedit(dir, {"--list", "scene.qtd"});
  CliResult copy = vtqedit(dir, {"--list", "copy.qtd"});
  std::string renamed = copy.out;
  for (size_t at; (at = renamed.find("copy0")) != std::string::npos;) renamed.replace(at, 5, "scene0");
  EXPECT_EQ(renamed, original.out);
  EXPECT_EQ(dir.readBytes("copy00001200.wav"), dir.readBytes("scene00001200.wav"));
  // Tab-separated for .tsv, the same columns.
  run(dir, {"--export", "scene.qtd", "list.tsv"});
  EXPECT_EQ(dir.readText("list.tsv").substr(0, 31), "insert_time\ttimed\tresponse_time");
}

TEST(BatchEdits, ImportRefusesABadListOrAnOverlapWithNothingChanged) {
  const std::string header = "insert_time,timed,response_time,retransmissions,command,parameter,mode,icon\n";
  const struct {
    std::string list;
    Args extra;
    int exitCode;
    const char* messagePart;
  } cases[] = {
      {header + "00:00:30:00,no,,0,KEEP_ALIVE,,,\n00:00:31:00,no,,0,PLAY_SOUND,SFX_Nowhere,,\n",
       {},
       5,
       "list.csv line 3: parameter \"SFX_Nowhere\" is not a name"},
      {header + "00:00:30:00,no,,0,KEEP_ALIVE,,,\n00:00:11:00,no,,0,KEEP_ALIVE,,,\n",
       {},
       3,
       "the command at 00:00:11:00 (KEEP_ALIVE) would overlap the command at 00:00:10:00 (KEEP_ALIVE)"},
      {header + "00:00:30:00,no,,0,KEEP_ALIVE,,,\n00:00:30:10,no,,0,STOP_ABILITY,,,\n",
       {},
       3,
       "the command at 00:00:30:10 (STOP_ABILITY) would overlap the command at 00:00:30:00 (KEEP_ALIVE)"},
      {header + "00:00:30:00,no,,0,KEEP_ALIVE,,,\n00:00:11:00,no,,0,KEEP_ALIVE,,,\n", {"--ignore-conflict"}, 0, ""},
  };
  for (const char* document : {"scene.qtd", "new.qtd"}) {
    for (const auto& c : cases) {
      TempDir dir;
      makeScene(dir);
      dir.write("list.csv", c.list);
      const auto filesBefore = dir.files();
      const std::string before = rows(dir);
      Args args = {"--import", document, "list.csv"};
      args.insert(args.end(), c.extra.begin(), c.extra.end());
      const CliResult r = vtqedit(dir, args);
      const bool conflictInScene = c.exitCode == 3 && c.list.find("00:00:11:00") != std::string::npos;
      const int expected = std::string(document) == "new.qtd" && conflictInScene ? 0 : c.exitCode;
      EXPECT_EQ(r.exitCode, expected) << document << " " << r.err;
      if (expected == 0) {
        EXPECT_TRUE(dir.exists(std::string(document).substr(0, 3) == "new" ? "new00003000.wav" : "scene00003000.wav"));
        continue;
      }
      EXPECT_NE(r.err.find(c.messagePart), std::string::npos) << r.err;
      // Only the document's lock file, left in place for the next run, may be new.
      std::vector<std::string> files = dir.files(), expectedFiles = filesBefore;
      std::erase(files, "." + std::string(document) + ".lock");
      std::erase(expectedFiles, "." + std::string(document) + ".lock");
      EXPECT_EQ(files, expectedFiles) << document;
      EXPECT_EQ(rows(dir), before);
    }
  }
}
