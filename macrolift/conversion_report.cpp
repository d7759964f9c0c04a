#include "conversion_report.h"

#include "common/write_target.h"

namespace macrolift {

bool ReportFile::create(const std::filesystem::path& path) {
  // Only a new file or a regular one is written: a folder cannot be, and a
  // pipe of that name would block the run.
  std::error_code ec;
  const auto type = std::filesystem::status(path, ec).type();
  if (type != std::filesystem::file_type::not_found && type != std::filesystem::file_type::regular) return false;
  common::WriteTarget target;
  std::string error;
  if (!common::resolveWriteTarget(path, common::LinkRule::Follow, target, error)) return false;
  if (target.mode == common::WriteMode::Create && !target.folderWritable) return false;
  path_ = path;
  return true;
}

std::vector<uint8_t> ReportFile::bytes() const {
  const std::string_view text = stream_.view();
  return std::vector<uint8_t>(text.begin(), text.end());
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
