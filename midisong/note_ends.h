// Where the notes of a pattern end.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "midi_event.h"

namespace midisong {

constexpr uint32_t kNoNoteEnd = UINT32_MAX;

struct NoteEnds {
  // For each event that starts a note: the position of the first later event
  // of the pattern that ends its key (a note-off or a note-on of velocity 0,
  // on any channel); kNoNoteEnd for every other event and for unended notes.
  std::vector<uint32_t> endOf;
  // For each key: the position of the first event that ends it, from the
  // pattern's start (used for notes that end in the following pattern).
  std::array<uint32_t, 256> firstEnd{};
};

NoteEnds findNoteEnds(const EventList& events);

}  // namespace midisong
