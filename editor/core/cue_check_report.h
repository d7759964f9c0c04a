// The report of a sound track check: which of a document's commands were
// found in the mix, intact and at their time, which are damaged or missing,
// and which transmissions in the mix no command explains.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "smpte_time.h"
#include "transmission_finder.h"

namespace vtq {

class CQuorlinVTQEditorDoc;

// Where the mix lies on the document's time line, and its rate.
struct MixTiming {
  uint32_t documentRate = 44100;
  uint32_t mixRate = 44100;
  CSMPTETime start;          // the time code of the mix's first sample
  uint64_t sampleCount = 0;  // the mix's length in frames
};

enum class CueCheckOutcome {
  Passed,      // every command found intact within a frame of its time, nothing unexpected
  Failed,      // a command is missing, damaged or off its time, or a transmission is unexpected
  UsageError,  // the options do not fit the mix (a channel it does not have)
  FileError,   // the mix could not be read
};

// What the check found of one command, or of one transmission no command
// explains. The text report, the CSV report, the window's report and the
// timeline's marks are all made from these records.
enum class CueState { Found, Damaged, Missing, Unexpected };

struct CueRecord {
  CueState state = CueState::Missing;
  // The command's row in list order and its serial (Unexpected: none).
  size_t commandIndex = size_t(-1);
  uint64_t commandSerial = 0;
  CSMPTETime insertTime;        // the command's time (Unexpected: where found)
  std::string byteCode;         // "0x..." of the command, or of what was read
  std::string failedCheck;      // Damaged: "header", "length", "parity" or "checksum"
  uint64_t foundSample = 0;     // Found, Damaged, Unexpected: the mix frame where it starts
  CSMPTETime foundTime;         // that position as a time code
  int32_t offsetFrames = 0;     // Found: found time minus command time (after the speed fit)
  std::optional<int> marginDb;  // Found: the margin of its best intact copy
  uint32_t formatRate = 0;      // the rate of the format it was read in (0: none)
  int copiesFound = 0;          // intact copies that belong to it (Unexpected: copies of it)
  int copiesSent = 0;           // 1 + its retransmissions (Unexpected: 0)
  bool atRisk = false;          // margin below --min-margin
};

// "found", "damaged", "missing" or "unexpected".
const char* cueStateName(CueState state);

// What the user asks of a check beyond the mix and its start.
struct CueCheckSettings {
  std::optional<double> speed;     // a speed to use instead of fitting one (1: no fit)
  std::optional<int> minMarginDb;  // a found command whose margin is below is at risk
};

struct CueCheckReport {
  CueCheckOutcome outcome = CueCheckOutcome::Failed;
  // One record per command in list order, then one per unexpected transmission.
  std::vector<CueRecord> records;
  // The track's speed relative to the document's (1: as made; above 1: the
  // track runs fast, its cues come early).
  double speed = 1.0;
  int atRiskCount = 0;
  bool marginChecked = false;  // --min-margin was given
  uint32_t documentRate = 44100;
  // One line per command in list order, one per unexpected transmission, and
  // the summary.
  std::vector<std::string> lines;
  // Remarks that do not belong in the report (commands outside the mix, a
  // short mix), and the error of a check that could not run.
  std::vector<std::string> notes;
  std::string error;
};

// Builds the report from the transmissions found in a mix. The track's speed
// is fitted first (or taken from the settings); a transmission then belongs
// to a command when its whole packet matches the command's and it starts
// within 2 s of the command's time on the track at that speed, counting back
// through the retransmissions before it.
CueCheckReport buildCheckReport(const CQuorlinVTQEditorDoc& document, const std::vector<FoundTransmission>& found,
                                const MixTiming& timing, const CueCheckSettings& settings = {});

// The report's text: one line per record, then the summary.
std::vector<std::string> checkReportLines(const CueCheckReport& report);

}  // namespace vtq
