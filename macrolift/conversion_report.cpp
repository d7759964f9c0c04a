#include "conversion_report.h"

namespace macrolift {

bool ReportFile::create(const std::filesystem::path& path) {
  // Only a new file or a regular one is opened: a folder cannot be, and a
  // pipe of that name would block the run.
  std::error_code ec;
  const auto type = std::filesystem::status(path, ec).type();
  if (type != std::filesystem::file_type::not_found && type != std::filesystem::file_type::regular) return false;
  return file_.open(path);
}

bool ReportFile::close() {
  if (!file_.isOpen()) return false;
  const bool ok = file_.write(stream_.view()) && file_.commit();
  stream_.str({});
  return ok;
}

void writeStatistics(common::Output& report, const Statistics& statistics) {
  report.write("\n\nConversion statistics:\n");
  report.print("%d macros found\n", statistics.macrosFound);
  report.print("%d macros converted\n", statistics.macrosConverted);
  report.print("%d macros with potential problems\n", statistics.macrosWithProblems);
  report.print("%d macros deleted (stripped down to ENDMACRO)\n", statistics.macrosDeleted);
  report.write("\nDone.\n");
}

}  // namespace macrolift
