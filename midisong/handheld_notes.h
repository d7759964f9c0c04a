// Note lengths on the handheld targets, where a note may end in the pattern
// that follows its own (the loop body after the intro of the same track).
#pragma once

#include <optional>

#include "note_ends.h"
#include "song_arrangement.h"
#include "song_clock.h"

namespace midisong {

// A program change waits for the next note, which carries it.
struct PendingProgram {
  bool active = false;
  uint8_t program = 0;
  uint32_t units = 0;  // its song time, with the exact factor
};

class HandheldNotes {
 public:
  // `following` is the pattern after `pattern` in the pattern list when it
  // belongs to the same track, else nullptr.
  HandheldNotes(const Pattern& pattern, const Pattern* following, const SongClock& clock);

  // The length in song units of the note started by event `index`, or
  // nothing when no end is found. `startUnits` is the note's song time.
  std::optional<uint32_t> length(size_t index, uint32_t startUnits) const;

 private:
  const Pattern& pattern_;
  const Pattern* following_;
  const SongClock& clock_;
  NoteEnds ends_;
  std::array<uint32_t, 256> followingEnds_{};
};

// The pattern after `it` when it belongs to the same track.
const Pattern* followingPatternOfTrack(const std::list<Pattern>& patterns, std::list<Pattern>::const_iterator it);

}  // namespace midisong
