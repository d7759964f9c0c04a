// What one run of macrolift shares between the scan and the conversions.
#pragma once

#include <cstdarg>

#include "common/output.h"
#include "common/safe_file_writer.h"
#include "conversion_report.h"
#include "project_file.h"

namespace macrolift {

struct MacroLiftRun {
  MacroLiftRun(common::Output& consoleOutput, common::Output& reportOutput)
      : console(consoleOutput), report(reportOutput) {}

  // A message for both the console and the report.
  void tell(const char* fmt, ...) COMMON_PRINTF_FORMAT(2, 3) {
    va_list args;
    va_start(args, fmt);
    const std::string text = common::formatV(fmt, args);
    va_end(args);
    console.write(text);
    report.write(text);
  }

  common::Output& console;
  common::Output& report;
  Statistics statistics;
  ProjectFileUpdater projectFiles;
  // The rewritten macro and project files, synced together and renamed at the
  // end of the walk.
  common::SafeWriteBatch writes;
};

}  // namespace macrolift
