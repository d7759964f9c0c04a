#include "note_ends.h"

namespace midisong {

// One backward pass: the next end of each key is known at every position.
NoteEnds findNoteEnds(const EventList& events) {
  NoteEnds ends;
  ends.endOf.assign(events.size(), kNoNoteEnd);
  ends.firstEnd.fill(kNoNoteEnd);
  for (size_t i = events.size(); i-- > 0;) {
    const MidiEvent& e = events[i];
    if (e.startsNote()) ends.endOf[i] = ends.firstEnd[e.data1];
    if (e.endsKey(e.data1)) ends.firstEnd[e.data1] = uint32_t(i);
  }
  return ends;
}

}  // namespace midisong
