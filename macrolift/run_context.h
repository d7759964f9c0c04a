// What one run of macrolift shares between the scan and the conversions.
#pragma once

#include <cstdarg>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "common/output.h"
#include "conversion_report.h"
#include "macro_steps.h"
#include "planned_writes.h"
#include "project_file.h"

namespace macrolift {

struct MacroLiftRun {
  MacroLiftRun(const std::filesystem::path& rootFolder, common::Output& consoleOutput, common::Output& reportOutput)
      : root(rootFolder), console(consoleOutput), report(reportOutput) {}

  // A message for both the console and the report.
  void tell(const char* fmt, ...) COMMON_PRINTF_FORMAT(2, 3) {
    va_list args;
    va_start(args, fmt);
    const std::string text = common::formatV(fmt, args);
    va_end(args);
    console.write(text);
    report.write(text);
  }

  const std::filesystem::path root;
  common::Output& console;
  common::Output& report;
  Statistics statistics;
  ProjectFileUpdater projectFiles;
  // The rewritten files, written and put in place at the end of the walk.
  PlannedWrites writes;
  // Old definition files, removed once the new files are in place.
  std::vector<std::filesystem::path> removals;
  // The macros converted by this run and by a run before it that stopped on
  // an error (those are not converted again), by their path below the root.
  std::map<std::string, ConversionResult> convertedMacros;
};

}  // namespace macrolift
