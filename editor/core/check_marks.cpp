#include "check_marks.h"

#include <cstdlib>

#include "common/output.h"
#include "document.h"

namespace vtq {
namespace {

CSMPTETime offsetTime(CSMPTETime at, int32_t frames) {
  const int64_t moved = int64_t(at.frameCount()) + frames;
  return CSMPTETime(uint32_t(std::max<int64_t>(moved, 0)));
}

std::string marginText(const CueRecord& record) {
  return record.marginDb ? common::format("margin %d dB", *record.marginDb) : std::string();
}

CheckMark markFor(const CueRecord& record) {
  CheckMark mark;
  mark.serial = record.commandSerial;
  mark.at = record.insertTime;
  mark.foundAt = record.insertTime;
  mark.checkedByteCode = record.byteCode;
  switch (record.state) {
    case CueState::Found:
      mark.foundAt = offsetTime(record.insertTime, record.offsetFrames);
      // Within a frame counts as on time, as the check's report counts it.
      mark.kind = std::abs(record.offsetFrames) <= 1 ? CheckMarkKind::OnTime : CheckMarkKind::OffTime;
      mark.label = marginText(record);
      if (record.offsetFrames != 0) {
        const std::string offset = common::format("%+d", record.offsetFrames);
        mark.label = mark.label.empty() ? offset : offset + ", " + mark.label;
      }
      break;
    case CueState::Damaged:
      mark.kind = CheckMarkKind::Damaged;
      mark.foundAt = record.foundTime;
      mark.label = "damaged: " + record.failedCheck;
      break;
    case CueState::Missing:
      mark.kind = CheckMarkKind::Missing;
      mark.label = "missing";
      break;
    case CueState::Unexpected:
      mark.kind = CheckMarkKind::Unexpected;
      mark.serial = 0;
      mark.at = record.foundTime;
      mark.foundAt = record.foundTime;
      mark.label = "unexpected " + record.byteCode;
      break;
  }
  return mark;
}

}  // namespace

std::vector<CheckMark> marksFromReport(const CueCheckReport& report) {
  std::vector<CheckMark> marks;
  marks.reserve(report.records.size());
  for (const CueRecord& record : report.records) marks.push_back(markFor(record));
  return marks;
}

bool markIsStale(const CheckMark& mark, const CQuorlinVTQEditorDoc& document) {
  if (mark.kind == CheckMarkKind::Unexpected) return false;
  const CCommand* command = document.commandBySerial(mark.serial);
  return !command || command->insertTime() != mark.at || command->byteCodeText() != mark.checkedByteCode;
}

}  // namespace vtq
