// The sound track check: reads a mixed sound track, finds and decodes every
// cue transmission in it, and reports them against a document's commands.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

#include "cue_check_report.h"
#include "smpte_time.h"

namespace vtq {

class PcmWaveReader;

struct CueCheckOptions {
  CSMPTETime start;                 // the time code of the mix's first sample
  std::optional<uint16_t> channel;  // counted from 1; none: all channels summed
  CueCheckSettings settings;        // a forced speed, the margin below which a cue is at risk
};

// Checks `mix` (a 16 or 24-bit PCM wave file at 44100 or 48000 Hz; a pipe
// serves) against the commands of `document`.
CueCheckReport checkSoundTrack(const CQuorlinVTQEditorDoc& document, const std::filesystem::path& mix,
                               const CueCheckOptions& options);

// Finds the transmissions in a mix already opened; `timing.sampleCount` is set
// to the frames read.
std::vector<FoundTransmission> findTransmissions(PcmWaveReader& reader, std::optional<uint16_t> channel,
                                                 MixTiming& timing);

}  // namespace vtq
