// A macrolift run killed at any point, or stopped on an error, and then run
// again gives the tree and report that one clean run gives, byte for byte.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <csignal>

#include <functional>
#include <map>

#include "common/testing/cli_run.h"

namespace {

namespace fs = std::filesystem;
using testing_support::CliResult;
using testing_support::runProgram;
using testing_support::TempDir;
using Bytes = std::vector<uint8_t>;
using Tree = std::map<std::string, std::string>;

const Bytes kDutyLoop = {20, 2, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// Macros whose conversion converted again changes them (the inserted step
// moves the loop on every run), a deleted one, a hard-linked one (rewritten
// through its inode), a project and a definition file.
void makeProject(const TempDir& dir, bool withPipe = false) {
  dir.write("macrodef.vqd", std::string("[$07]\nName = WAIT\n"));
  dir.write("project.vqp", std::string("Name=Demo\nDefs=C:\\x\\macrodef.VqD\n"));
  dir.write("sounds/a.vqm", kDutyLoop);
  dir.write("sounds/b.vqm", Bytes{7, 1, 0, 1, 0, 0, 0xE8, 3, 9, 0, 0, 0, 0, 0, 0, 0});
  if (withPipe) {
    ASSERT_EQ(::mkfifo((dir / "sounds/c.vqm").c_str(), 0644), 0);
  } else {
    dir.write("sounds/c.vqm", kDutyLoop);
  }
  dir.write("sounds/deep/d.vqm", kDutyLoop);
  dir.write("sounds/deep/twin.vqm", kDutyLoop);
  dir.write("other/keep.txt", std::string("x"));
  fs::create_hard_link(dir / "sounds/deep/twin.vqm", dir / "other/twin.bin");
}

// Every name below the folder, hidden ones included, with its bytes (the
// report's mentions of the folder made the same for every folder; long files
// by their length and hash, to keep a failure's message short).
Tree snapshot(const TempDir& dir) {
  Tree tree;
  const std::string root = fs::canonical(dir.path()).string();
  for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
    const std::string name = entry.path().lexically_relative(dir.path()).string();
    std::string bytes = entry.is_regular_file() ? testing_support::readFileText(entry.path()) : "<folder>";
    for (size_t at; (at = bytes.find(root)) != std::string::npos;) bytes.replace(at, root.size(), "<root>");
    if (bytes.size() > 1000)
      bytes = std::to_string(bytes.size()) + " bytes #" + std::to_string(std::hash<std::string>{}(bytes));
    tree[name] = bytes;
  }
  return tree;
}

CliResult macrolift(const TempDir& dir) { return runProgram(MACROLIFT_EXE, {}, dir.path()); }

Tree cleanRun() {
  TempDir dir;
  makeProject(dir);
  const CliResult r = macrolift(dir);
  EXPECT_EQ(r.exitCode, 0) << r.out;
  return snapshot(dir);
}

// strace as installed by scripts/install-deps; it must also be allowed to trace.
const char* const kStrace = "/usr/bin/strace";
bool haveStrace() { return std::system("/usr/bin/strace -o /dev/null true >/dev/null 2>&1") == 0; }

}  // namespace

// Killed at the Nth call of each system call that changes the tree or makes
// it durable, in every phase: the walk, the temporary files, the journal,
// the renames, the removals, the journal's removal.
TEST(InterruptedRun, AKilledRunRunAgainGivesTheCleanRunsTree) {
  if (!haveStrace()) GTEST_SKIP() << "strace is not installed or cannot trace here";
  const Tree clean = cleanRun();
  ASSERT_EQ(clean.count(".macrolift-journal"), 0u);
  // SIGINT removes the temporary files at once, or waits while the journal's
  // files are put in place; SIGKILL leaves them to the next run.
  const struct {
    const char* call;
    int step;
    int signal;
  } calls[] = {{"rename", 1, SIGKILL}, {"unlink", 1, SIGKILL}, {"write", 1, SIGKILL}, {"fsync", 1, SIGKILL},
               {"syncfs", 1, SIGKILL}, {"openat", 3, SIGKILL}, {"write", 2, SIGINT},  {"rename", 2, SIGINT}};
  for (const auto& c : calls) {
    int killed = 0;
    for (int n = 1; n < 1000; n += c.step) {
      TempDir dir;
      makeProject(dir);
      const std::string inject =
          std::string("inject=") + c.call + ":signal=" + std::to_string(c.signal) + ":when=" + std::to_string(n);
      const CliResult first = runProgram(kStrace, {"-f", "-o", "/dev/null", "-e", inject, MACROLIFT_EXE}, dir.path());
      if (first.exitCode == 0) break;  // fewer calls than n: the run completed
      ASSERT_EQ(first.exitCode, 128 + c.signal) << first.err;
      ++killed;
      if (c.signal == SIGINT) {
        for (const auto& [name, bytes] : snapshot(dir))
          EXPECT_EQ(name.find(".macrolift-"), std::string::npos) << name << " after SIGINT at " << c.call << " " << n;
      }
      // Killed once its journal was gone (printing), the run was complete:
      // running it again would convert again, as any second run does.
      if (snapshot(dir) == clean) continue;
      const CliResult again = macrolift(dir);
      EXPECT_EQ(again.exitCode, 0) << c.call << " " << n << "\n" << again.out;
      EXPECT_EQ(snapshot(dir), clean) << "signal " << c.signal << " at " << c.call << " " << n;
    }
    EXPECT_GT(killed, 0) << c.call;
  }
}

// A run that stops on an error keeps what it converted and leaves a record of
// it: the run after it converts only the rest, and its report is the clean one.
TEST(InterruptedRun, ARunAfterAFailedOneConvertsOnlyWhatThatOneDidNot) {
  const Tree clean = cleanRun();
  TempDir dir;
  makeProject(dir, true);
  const CliResult failed = macrolift(dir);
  ASSERT_EQ(failed.exitCode, 1) << failed.out;
  EXPECT_NE(snapshot(dir).count(".macrolift-journal"), 0u);
  fs::remove(dir / "sounds/c.vqm");
  dir.write("sounds/c.vqm", kDutyLoop);
  const CliResult again = macrolift(dir);
  EXPECT_EQ(again.exitCode, 0) << again.out;
  EXPECT_EQ(snapshot(dir), clean);
}
