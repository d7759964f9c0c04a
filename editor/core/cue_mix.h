// The cue track as it sounds under the film: every command's transmission at
// its insert time (the samples --render writes), resampled from the
// document's rate to the film sound's where they differ. Made from a copy of
// the commands, so playback does not depend on the list while it runs; each
// transmission is made when playback first reaches it.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "command.h"
#include "smpte_time.h"

namespace vtq {

class CQuorlinVTQEditorDoc;

class CueMix {
 public:
  CueMix(const CQuorlinVTQEditorDoc& document, uint32_t filmRate, CSMPTETime filmStart);

  // Adds the cue track's samples for film sound frames [first, first +
  // out.size()) into `out`, a full-scale 16-bit sample adding `gain`.
  void addTo(uint64_t first, std::span<float> out, float gain);

 private:
  struct Placed {
    std::unique_ptr<CCommand> command;
    double start = 0;              // in film sound frames
    double length = 0;             // an upper bound, in film sound frames
    std::vector<int16_t> samples;  // at the document's rate, made on first use
    bool made = false;
  };
  void addPlaced(Placed& placed, uint64_t first, std::span<float> out, float gain);

  uint32_t documentRate_;
  uint32_t filmRate_;
  std::vector<Placed> placed_;
};

}  // namespace vtq
