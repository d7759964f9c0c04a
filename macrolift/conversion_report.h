// The report file of a run and the counters that close it.
#pragma once

#include <filesystem>
#include <sstream>
#include <string_view>
#include <vector>

#include "common/output.h"

namespace macrolift {

inline constexpr std::string_view kReportFileName = "Macro Conversion Report.txt";

struct Statistics {
  int macrosFound = 0;
  int macrosConverted = 0;
  int macrosWithProblems = 0;
  int macrosDeleted = 0;
};

// "Macro Conversion Report.txt", collected for the whole run with "\n" line
// ends; it replaces an older report with the run's other files.
class ReportFile {
 public:
  ReportFile() : output_(stream_) {}

  // False when no report can be written at `path` (a folder, a pipe, a folder
  // that cannot be written).
  bool create(const std::filesystem::path& path);
  common::Output& output() { return output_; }
  const std::filesystem::path& path() const { return path_; }
  std::vector<uint8_t> bytes() const;

 private:
  std::filesystem::path path_;
  std::ostringstream stream_;
  common::Output output_;
};

// The block that ends the report of a complete scan.
void writeStatistics(common::Output& report, const Statistics& statistics);

}  // namespace macrolift
