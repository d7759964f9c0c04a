#include "handheld_sequence.h"

namespace midisong {

HandheldSequenceEnd handheldSequenceEnd(const std::vector<SequenceEntry>& sequence, const SongArrangement& song,
                                        const SongClock& clock) {
  HandheldSequenceEnd end;
  if (!song.hasLoop(0) || sequence.empty()) return end;
  end.length = clock.exactUnits(song.loopEnd[0]) - clock.units(sequence.back().start);
  for (size_t i = 0; i < sequence.size(); ++i) {
    if (sequence[i].start >= song.loopStart[0]) {
      end.loops = true;
      end.loopEntry = i;
      end.intoLoop = clock.units(sequence[i].start) - clock.units(song.loopStart[0]);
      break;
    }
  }
  return end;
}

}  // namespace midisong
