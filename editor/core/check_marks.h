// What the timeline marks on each command after a sound track check, made
// from the check's records: found on time, found off time (from the command's
// time to where it was found, after the speed fit), damaged (with the check
// that failed), missing, and transmissions no command explains. A mark keeps
// what its command was when checked, so that a changed command's mark shows
// it no longer tells the truth.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cue_check_report.h"
#include "smpte_time.h"

namespace vtq {

enum class CheckMarkKind { OnTime, OffTime, Damaged, Missing, Unexpected };

struct CheckMark {
  CheckMarkKind kind = CheckMarkKind::Missing;
  uint64_t serial = 0;  // the command (0 for an unexpected transmission)
  CSMPTETime at;        // the command's time when checked (Unexpected: where found)
  CSMPTETime foundAt;   // where it was found, on the command's time line
  std::string label;    // what the mark says: the failed check, the margin, the offset
  // The command as checked: its time and byte code.
  std::string checkedByteCode;
};

// One mark per record: commands in list order, then unexpected transmissions.
std::vector<CheckMark> marksFromReport(const CueCheckReport& report);

class CQuorlinVTQEditorDoc;

// Whether the mark's command changed (moved, edited or removed) since the check.
bool markIsStale(const CheckMark& mark, const CQuorlinVTQEditorDoc& document);

}  // namespace vtq
