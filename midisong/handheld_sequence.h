// The closing record of a Game Boy or Game Boy Advance track sequence, which
// both layouts compute alike (they differ in field sizes only).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "song_arrangement.h"
#include "song_clock.h"

namespace midisong {

struct HandheldSequenceEnd {
  uint32_t length = 0;    // loop end minus the song start of the last entry
  bool loops = false;     // an entry starts at or after the loop start
  size_t loopEntry = 0;   // the first such entry
  uint32_t intoLoop = 0;  // its song start minus the loop start
};

// Both handheld targets use the loop section of channel 0 for every track.
HandheldSequenceEnd handheldSequenceEnd(const std::vector<SequenceEntry>& sequence, const SongArrangement& song,
                                        const SongClock& clock);

// A difference of song times that rounding made negative counts as 0.
constexpr uint32_t unitsSince(uint32_t earlier, uint32_t later) { return later > earlier ? later - earlier : 0; }

}  // namespace midisong
