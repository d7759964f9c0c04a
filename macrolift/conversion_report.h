// The report file of a run and the counters that close it.
#pragma once

#include <filesystem>
#include <sstream>
#include <string_view>

#include "common/output.h"
#include "common/safe_file_writer.h"
#include "program_name.h"

namespace macrolift {

inline constexpr std::string_view kReportFileName = "Macro Conversion Report.txt";

struct Statistics {
  int macrosFound = 0;
  int macrosConverted = 0;
  int macrosWithProblems = 0;
  int macrosDeleted = 0;
};

// "Macro Conversion Report.txt", open for the whole run, written with "\n"
// line ends. It replaces an older report safely when it is closed.
class ReportFile {
 public:
  ReportFile() : output_(stream_) {}

  bool create(const std::filesystem::path& path);
  common::Output& output() { return output_; }
  // Closes the file; false when something could not be written.
  bool close();

 private:
  std::ostringstream stream_;
  common::Output output_;
  common::SafeFileWriter file_{kProgramName};
};

// The block that ends the report of a complete scan.
void writeStatistics(common::Output& report, const Statistics& statistics);

}  // namespace macrolift
