#include "cue_check_csv.h"

#include "common/output.h"

namespace vtq {
namespace {

std::string csvRow(const CueRecord& r) {
  const bool command = r.state != CueState::Unexpected;
  const bool placed = r.state != CueState::Missing;
  const bool found = r.state == CueState::Found;
  std::string row;
  row += (command ? r.insertTime.text() : "") + ",";
  row += r.byteCode + ",";
  row += std::string(cueStateName(r.state)) + ",";
  row += r.failedCheck + ",";
  row += (placed ? r.foundTime.text() : "") + ",";
  row += (found ? common::format("%d", r.offsetFrames) : "") + ",";
  row += (found && r.marginDb ? common::format("%d", *r.marginDb) : "") + ",";
  row += (r.formatRate ? common::format("%u", unsigned(r.formatRate)) : "") + ",";
  row += common::format("%d", r.copiesFound) + ",";
  row += command ? common::format("%d", r.copiesSent) : "";
  return row;
}

}  // namespace

std::string checkReportCsv(const CueCheckReport& report) {
  std::string text = std::string(kCheckCsvHeader) + "\n";
  for (const CueRecord& record : report.records) text += csvRow(record) + "\n";
  return text;
}

}  // namespace vtq
