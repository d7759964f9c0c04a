// The Game Boy song layout.
#include <algorithm>
#include <optional>

#include "handheld_notes.h"
#include "handheld_sequence.h"
#include "messages.h"
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
    w.u16(uint16_t(start - previous));
    w.u8(uint8_t(entry.pattern->number));
    previous = start;
  }
  const HandheldSequenceEnd end = handheldSequenceEnd(sequence, song, clock);
  w.u16(uint16_t(end.length));
  w.u8(end.loops ? gb::kLoopMarker : gb::kEndMarker);
  w.u16(end.loops ? uint16_t(end.loopEntry * gb::kEntrySize) : 0);
  w.u16(end.loops ? uint16_t(end.intoLoop) : 0);
}

void writeDuration(ByteWriter& w, uint32_t units) {
  if (units == 0) {
    w.u8(1);
  } else if (units <= gb::kShortDurationMax) {
    w.u8(uint8_t(units));
  } else {
    w.u8(uint8_t((units >> 8) | gb::kLongDuration));
    w.u8(uint8_t(units));
  }
}

uint8_t volumeOf(uint8_t velocity) { return uint8_t(std::clamp((velocity + 4) >> 3, 1, 15)); }

void writePattern(ByteWriter& w, const Pattern& pattern, const Pattern* following, const SongClock& clock,
                  SongRun& run) {
  const HandheldNotes notes(pattern, following, clock);
  uint32_t previousStart = 0;
  PendingProgram pending;
  for (size_t i = 0; i < pattern.events.size(); ++i) {
    const MidiEvent& e = pattern.events[i];
    if (e.kind() == 0xC0) {
      pending = PendingProgram{true, e.data1, clock.exactUnits(e.time)};
      continue;
    }
    if (!e.startsNote()) continue;
    const uint32_t start = clock.units(e.time);
    const std::optional<uint32_t> length = notes.length(i, start);
    if (!length) continue;
    const uint32_t distance = start - previousStart;
    if (distance >= gb::kWarnDistance) run.err.write(run.text(kMsgNoteDistance));
    w.u16(uint16_t((distance & gb::kNoteDistanceMask) | (uint32_t(volumeOf(e.data2)) << gb::kVolumeShift)));
    if (pending.active) {
      w.u8(e.data1 | gb::kProgramFlag);
      w.u8(pending.program);
      pending.active = false;
    } else {
      w.u8(e.data1);
    }
    writeDuration(w, *length);
    previousStart = start;
  }
  if (pending.active) {
    w.u16(uint16_t(unitsSince(previousStart, pending.units) & gb::kNoteDistanceMask));
    w.u8(pending.program | gb::kProgramFlag);
  }
  w.u16(gb::kPatternEndWord);
  w.u8(gb::kPatternEndByte);
}

}  // namespace

std::vector<uint8_t> encodeGameBoySong(const SongArrangement& song, uint32_t ticksPerBeat, common::Endian order,
                                       SongRun& run) {
  const SongClock clock(kGameBoyUnitsPerBeat, ticksPerBeat);
  ByteWriter w(order);
  w.u16(gb::kTrackTableOffset);
  w.u16(0);  // pattern table, below
  w.u16(uint16_t(song.bpm));
  w.zeros(gb::kTrackSlots * 2);
  for (size_t channel = 0; channel < gb::kTrackSlots; ++channel) {
    const auto& sequence = song.sequences[channel];
    if (sequence.empty()) continue;
    w.patchU16(gb::kTrackTableOffset + 2 * channel, uint16_t(w.size()));
    writeSequence(w, sequence, song, clock);
  }
  const size_t table = w.size();
  w.patchU16(gb::kPatternTableField, uint16_t(table));
  w.zeros(song.patterns.size() * 2);
  for (auto it = song.patterns.begin(); it != song.patterns.end(); ++it) {
    w.patchU16(table + 2 * size_t(it->number), uint16_t(w.size()));
    writePattern(w, *it, followingPatternOfTrack(song.patterns, it), clock, run);
  }
  return w.take();
}

int writeGameBoySong(const std::filesystem::path& path, const SongArrangement& song, uint32_t ticksPerBeat,
                     common::Endian order, SongRun& run) {
  return writeSongFile(path, encodeGameBoySong(song, ticksPerBeat, order, run), run);
}

}  // namespace midisong
