#include <algorithm>

#include "song_clock.h"
#include "song_layout.h"
#include "song_writers.h"

namespace midisong {

uint32_t unitsPerBeatFor(Target target) {
  switch (target) {
    case Target::GameBoy: return kGameBoyUnitsPerBeat;
    case Target::Advance: return kAdvanceUnitsPerBeat;
    default: return kN64UnitsPerBeat;
  }
}

bool songTimesFit(const SongArrangement& song, uint32_t unitsPerBeat, uint32_t ticksPerBeat) {
  uint64_t lastTick = *std::max_element(song.loopEnd.begin(), song.loopEnd.end());
  for (const Pattern& p : song.patterns) {
    if (!p.events.empty()) lastTick = std::max(lastTick, uint64_t(p.start) + p.events.back().time);
  }
  const SongClock clock(unitsPerBeat, ticksPerBeat);
  const double exact = ticksPerBeat ? double(lastTick) * unitsPerBeat / ticksPerBeat : 0.0;
  return clock.wideUnits(lastTick) <= UINT32_MAX && exact < 4294967296.0;
}

}  // namespace midisong
