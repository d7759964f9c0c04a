#include "macro_lift.h"

#include "common/paths.h"
#include "common/terminal.h"
#include "conversion_report.h"
#include "directory_scan.h"
#include "macro_steps.h"
#include "run_context.h"

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

// Puts the rewritten files in place, also after a failed walk: what was
// converted stays converted.
bool commitWrites(MacroLiftRun& run) {
  if (run.writes.commit()) return true;
  for (const auto& failure : run.writes.failures())
    run.tell("*** ERROR: Error writing file \"%s\"!\n", common::displayPath(failure.target).c_str());
  return false;
}

}  // namespace

int runMacroLift(const std::filesystem::path& root, common::Output& console, KeyWait keyWait) {
  printBanner(console, root);
  ReportFile report;
  const std::filesystem::path reportPath = root / kReportFileName;
  if (!report.create(reportPath)) {
    console.write("*** ERROR: Unable to create the report file!\n");
    return fail(console, keyWait);
  }
  MacroLiftRun run(console, report.output());
  bool scanned = false;
  try {
    scanned = scanDirectory(run, root);
  } catch (const StepArrayGrowthError&) {
    console.write("*** ERROR: Severe internal error reallocating macro data!\n");
    commitWrites(run);
    return kStepArrayFull;
  }
  scanned = commitWrites(run) && scanned;
  if (!scanned) {
    report.close();
    return fail(console, keyWait);
  }
  writeStatistics(report.output(), run.statistics);
  if (!report.close()) {
    console.print("*** ERROR: Error writing file \"%s\"!\n", common::displayPath(reportPath).c_str());
    return fail(console, keyWait);
  }
  return kDone;
}

}  // namespace macrolift
