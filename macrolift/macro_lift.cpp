#include "macro_lift.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "common/paths.h"
#include "common/terminal.h"
#include "common/termination_cleanup.h"
#include "conversion_report.h"
#include "directory_scan.h"
#include "journal_completion.h"
#include "macro_steps.h"
#include "run_context.h"
#include "run_journal.h"

namespace macrolift {
namespace {

constexpr const char* kPressAnyKey = "Press any key to exit.\n";

void printBanner(common::Output& console, const std::filesystem::path& root) {
  console.write("MacroLift Vocta Macro Converter v1.0\n");
  console.write("Moves Game Boy sound macros to the Game Boy Advance command set.\n");
  console.write("Part of the KESH interactive audio toolset.\n");
  console.write("\n");
  console.write("Looking for Vocta Game Boy macros in\n");
  console.print("  \"%s\"...\n", common::displayPath(root).c_str());
}

int fail(common::Output& console, KeyWait keyWait) {
  if (keyWait == KeyWait::OnTerminal) {
    common::promptAndWaitForKey(console, kPressAnyKey);
  } else {
    console.write(kPressAnyKey);
  }
  return kFailed;
}

// One run at a time in a tree: a second one would convert the first one's
// macros again and take its temporary files for leftovers.
class FolderLock {
 public:
  explicit FolderLock(const std::filesystem::path& folder)
      : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}
  ~FolderLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  // A folder that cannot be opened is not locked; the walk then says why.
  bool taken() const { return fd_ < 0 || ::flock(fd_, LOCK_EX | LOCK_NB) == 0; }

 private:
  int fd_;
};

// The walk; its exit code.
int convertTree(MacroLiftRun& run) {
  try {
    return scanDirectory(run, run.root) ? kDone : kFailed;
  } catch (const StepArrayGrowthError&) {
    run.console.write("*** ERROR: Severe internal error reallocating macro data!\n");
    return kStepArrayFull;
  }
}

// Puts the run's files in place, also after a failed walk (what was converted
// stays converted): temporary files written and synced, the journal written,
// then the files renamed. False when a file could not be written.
bool putInPlace(MacroLiftRun& run, int exitCode) {
  std::string error;
  if (!run.writes.writeTemporaries(run.root, error)) {
    run.console.print("*** %s\n", error.c_str());
    return false;
  }
  RunJournal journal;
  journal.exitCode = exitCode;
  journal.convertedMacros = run.convertedMacros;
  journal.moves = run.writes.moves();
  journal.removals = run.removals;
  // From the journal's writing to its removal the run is not cut short by a
  // termination signal: the signal waits until the files are in place.
  const common::SignalHold hold;
  if (!writeJournal(run.root, journal, error)) {
    run.console.print("*** %s\n", error.c_str());
    return false;
  }
  run.writes.release();
  return completeJournal(run.root, journal, run.console);
}

int finishInterruptedRun(const std::filesystem::path& root, const RunJournal& journal, common::Output& console,
                         KeyWait keyWait) {
  console.write("Completing the run that was interrupted...\n");
  bool completed = false;
  {
    const common::SignalHold hold;
    completed = completeJournal(root, journal, console);
  }
  if (!completed) return fail(console, keyWait);
  if (journal.exitCode == kStepArrayFull) return kStepArrayFull;
  return journal.exitCode == kDone ? kDone : fail(console, keyWait);
}

}  // namespace

int runMacroLift(const std::filesystem::path& root, common::Output& console, KeyWait keyWait) {
  printBanner(console, root);
  const FolderLock lock(root);
  if (!lock.taken()) {
    console.write("*** ERROR: Another macrolift run is converting this folder!\n");
    return fail(console, keyWait);
  }
  RunJournal journal;
  std::string error;
  const JournalFound found = readJournal(root, journal, error);
  if (found == JournalFound::Unreadable) {
    console.print("*** %s\n", error.c_str());
    return fail(console, keyWait);
  }
  if (found == JournalFound::Found && journal.state == JournalState::Pending)
    return finishInterruptedRun(root, journal, console, keyWait);

  ReportFile report;
  if (!report.create(root / kReportFileName)) {
    console.write("*** ERROR: Unable to create the report file!\n");
    return fail(console, keyWait);
  }
  MacroLiftRun run(root, console, report.output());
  run.convertedMacros = journal.convertedMacros;  // those of a run that stopped on an error
  int code = convertTree(run);
  if (code == kDone) writeStatistics(report.output(), run.statistics);
  if (code != kStepArrayFull &&
      run.writes.plan(report.path(), common::LinkRule::Follow, report.bytes(), error) != ReplaceResult::Replaced) {
    console.print("*** %s\n", error.c_str());
    console.print("*** ERROR: Error writing file \"%s\"!\n", common::displayPath(report.path()).c_str());
    code = kFailed;
  }
  const bool placed = putInPlace(run, code);
  if (code == kStepArrayFull) return kStepArrayFull;
  return code == kDone && placed ? kDone : fail(console, keyWait);
}

}  // namespace macrolift
