// The Game Boy Advance song layout.
#include <algorithm>
#include <optional>

#include "handheld_notes.h"
#include "handheld_sequence.h"
#include "song_file.h"
#include "song_layout.h"
#include "song_writers.h"

namespace midisong {
namespace {

using common::ByteWriter;

void writeSequence(ByteWriter& w, const std::vector<SequenceEntry>& sequence, const SongArrangement& song,
                   const SongClock& clock) {
  uint32_t previous = 0;
  for (const SequenceEntry& entry : sequence) {
    const uint32_t start = clock.units(entry.start);
    w.u32(start - previous);
    w.u32(entry.pattern->number);
    previous = start;
  }
  const HandheldSequenceEnd end = handheldSequenceEnd(sequence, song, clock);
  w.u32(end.length);
  w.u32(end.loops ? gba::kLoopMarker : gba::kEndMarker);
  w.u32(end.loops ? uint32_t(end.loopEntry * gba::kEntrySize) : 0);
  w.u32(end.loops ? end.intoLoop : 0);
}

// Writes the delta from the previous event; a filler takes 0xFFFF off a delta
// that does not fit. `fill` writes the filler's fields after its u16 0xFFFF.
template <typename Fill>
void writeDelta(ByteWriter& w, uint32_t delta, Fill fill) {
  while (delta >= gba::kLongestDelta) {
    w.u16(uint16_t(gba::kLongestDelta));
    fill();
    delta -= gba::kLongestDelta;
  }
  w.u16(uint16_t(delta));
}

void writeOrdinaryPattern(ByteWriter& w, const Pattern& pattern, const Pattern* following, const SongClock& clock) {
  const HandheldNotes notes(pattern, following, clock);
  const auto filler = [&w] {
    w.u8(1);
    w.u8(0);
    w.u16(0);
  };
  uint32_t previous = 0;  // song time of the previous note or controller 104
  PendingProgram pending;
  for (size_t i = 0; i < pattern.events.size(); ++i) {
    const MidiEvent& e = pattern.events[i];
    if (e.kind() == 0xC0) {
      pending = PendingProgram{true, e.data1, clock.exactUnits(e.time)};
    } else if (e.isController(gba::kTempoController)) {
      const uint32_t time = clock.exactUnits(e.time);
      writeDelta(w, unitsSince(previous, time), filler);
      w.u8(0);
      w.u8(e.data2 | 0x80);
      previous = time;
    } else if (e.startsNote()) {
      const uint32_t time = clock.units(e.time);
      const std::optional<uint32_t> length = notes.length(i, time);
      if (!length) continue;
      writeDelta(w, unitsSince(previous, time), filler);
      w.u8(e.data2);
      if (pending.active) {
        w.u8(e.data1 | gba::kProgramFlag);
        w.u8(pending.program);
        w.u8(0);
        pending.active = false;
      } else {
        w.u8(e.data1);
      }
      w.u16(uint16_t(std::clamp<uint32_t>(*length, 1, gba::kLongestDuration)));
      previous = time;
    }
  }
  if (pending.active) {
    writeDelta(w, unitsSince(previous, pending.units), filler);
    w.u8(0);
    w.u8(pending.program);
  }
  w.u32(gba::kPatternEnd);
}

// The tempo track: u16 delta and u16 BPM per tempo entry; its filler repeats
// the BPM in force.
void writeTempoPattern(ByteWriter& w, const Pattern& pattern, const SongArrangement& song, const SongClock& clock) {
  uint32_t previous = 0;
  uint32_t bpmInForce = song.bpm;
  for (const MidiEvent& e : pattern.events) {
    if (!e.isTempo()) continue;
    const uint32_t time = clock.units(e.time);
    writeDelta(w, time - previous, [&] { w.u16(uint16_t(bpmInForce)); });
    w.u16(uint16_t(e.bpm));
    bpmInForce = e.bpm;
    previous = time;
  }
  w.u32(gba::kPatternEnd);
}

}  // namespace

std::vector<uint8_t> encodeAdvanceSong(const SongArrangement& song, uint32_t ticksPerBeat, common::Endian order) {
  const SongClock clock(kAdvanceUnitsPerBeat, ticksPerBeat);
  ByteWriter w(order);
  w.u32(gba::kTrackTableOffset);
  w.u32(0);  // pattern table, below
  w.u16(uint16_t(song.bpm));
  w.u16(0);
  w.zeros(gba::kTrackSlots * 4);
  for (size_t slot = 0; slot < gba::kTrackSlots; ++slot) {
    const size_t track = slot + 1 == gba::kTrackSlots ? SongArrangement::kTempoTrack : slot;
    const auto& sequence = song.sequences[track];
    if (sequence.empty()) continue;
    w.patchU32(gba::kTrackTableOffset + 4 * slot, uint32_t(w.size()));
    writeSequence(w, sequence, song, clock);
  }
  const size_t table = w.size();
  w.patchU32(gba::kPatternTableField, uint32_t(table));
  w.zeros(song.patterns.size() * 4);
  for (auto it = song.patterns.begin(); it != song.patterns.end(); ++it) {
    w.patchU32(table + 4 * size_t(it->number), uint32_t(w.size()));
    if (it->track == SongArrangement::kTempoTrack) {
      writeTempoPattern(w, *it, song, clock);
    } else {
      writeOrdinaryPattern(w, *it, followingPatternOfTrack(song.patterns, it), clock);
    }
  }
  return w.take();
}

int writeAdvanceSong(const std::filesystem::path& path, const SongArrangement& song, uint32_t ticksPerBeat,
                     common::Endian order, SongRun& run) {
  return writeSongFile(path, encodeAdvanceSong(song, ticksPerBeat, order), run);
}

}  // namespace midisong
