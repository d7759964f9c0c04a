// Same-tick order of note and program events that the handheld drivers need.
#pragma once

#include "midi_event.h"

namespace midisong {

// Reorders events of equal time in one list so that
//  - a note that starts on the tick on which the previous note of that key
//    ends comes after that end, and
//  - a program change comes before a note-on of the same channel and tick:
//    it moves to just before the note, and every other event keeps its order
//    (trading places with the note could carry the note past its own end).
// Only whole events move; the list stays in time order. Linear in the
// list's length, however many events share a tick.
void fixNoteOrder(EventList& list);

// Runs fixNoteOrder on lists 0 to trackCount - 1 of the image.
void fixNoteOrder(MidiImage& image);

}  // namespace midisong
