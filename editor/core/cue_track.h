// The cue track: every command's transmission of a document placed at the
// sample of its insert time in one mono 16-bit wave file at the document's
// rate, ready to be laid under a film's sound track as one piece.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "smpte_time.h"

namespace vtq {

class CQuorlinVTQEditorDoc;

struct CueTrackOptions {
  CSMPTETime start;                  // the time code of the track's first sample
  std::optional<CSMPTETime> length;  // the track's length; default: up to the last transmission
};

enum class CueTrackOutcome {
  Written,          // the track was written
  WrittenOverlaps,  // written, but transmissions overlap (summed with clipping)
  Refused,          // nothing written: a rate without a pulse or a track over the wave format's 4 GiB
  FileError,        // nothing written: the track could not be written
};

struct CueTrackReport {
  CueTrackOutcome outcome = CueTrackOutcome::Written;
  // One line each: a command left out or cut, an overlap of two transmissions.
  std::vector<std::string> notes;
  // What was written, or why nothing was.
  std::string summary;
  size_t transmissions = 0;  // commands placed on the track (whole or cut)
  uint64_t sampleCount = 0;
};

// Renders the track of `document` into `track` (replaced safely). The samples
// come from the commands, as MakeWave makes them, not from wave files on disk.
CueTrackReport renderCueTrack(const CQuorlinVTQEditorDoc& document, const std::filesystem::path& track,
                              const CueTrackOptions& options);

}  // namespace vtq
