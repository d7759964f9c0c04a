// The report of a sound track check: which of a document's commands were
// found in the mix, intact and at their time, which are damaged or missing,
// and which transmissions in the mix no command explains.
#pragma once

#include <cstdint>
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
  CSMPTETime start;         // the time code of the mix's first sample
  uint64_t sampleCount = 0;  // the mix's length in frames
};

enum class CueCheckOutcome {
  Passed,      // every command found intact within a frame of its time, nothing unexpected
  Failed,      // a command is missing, damaged or off its time, or a transmission is unexpected
  UsageError,  // the options do not fit the mix (a channel it does not have)
  FileError,   // the mix could not be read
};

struct CueCheckReport {
  CueCheckOutcome outcome = CueCheckOutcome::Failed;
  // One line per command in list order, one per unexpected transmission, and
  // the summary.
  std::vector<std::string> lines;
  // Remarks that do not belong in the report (commands outside the mix, a
  // short mix), and the error of a check that could not run.
  std::vector<std::string> notes;
  std::string error;
};

// Builds the report from the transmissions found in a mix. A transmission
// belongs to a command when its whole packet matches the command's and it
// starts within 2 s of the command's time, counting back through the
// retransmissions before it.
CueCheckReport buildCheckReport(const CQuorlinVTQEditorDoc& document, const std::vector<FoundTransmission>& found,
                                const MixTiming& timing);

}  // namespace vtq
