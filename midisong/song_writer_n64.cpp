// The Nintendo 64 and Dolphin song layout.
#include <array>

#include "curve_encoding.h"
#include "messages.h"
#include "note_ends.h"
#include "song_clock.h"
#include "song_file.h"
#include "song_layout.h"
#include "song_writers.h"

namespace midisong {
namespace {

using common::ByteWriter;

// The channel of the first event of the track's first pattern.
uint8_t channelOfTrack(const std::vector<SequenceEntry>& sequence) {
  const EventList& events = sequence.front().pattern->events;
  return events.empty() ? 0 : events.front().channel();
}

// Entries carry (pattern number, 0), the closing record (marker, loop entry).
void writeSequenceRecord(ByteWriter& w, uint32_t time, uint16_t first, uint16_t second) {
  w.u32(time);
  w.u8(0xFF);
  w.u8(0xFF);
  w.u16(0);
  w.u16(first);
  w.u16(second);
}

// Entries give absolute song starts; the closing record loops back to an entry
// by its position. The loop section is that of the track's own channel.
void writeSequence(ByteWriter& w, const std::vector<SequenceEntry>& sequence, const SongArrangement& song,
                   const SongClock& clock) {
  for (const SequenceEntry& entry : sequence) {
    writeSequenceRecord(w, clock.units(entry.start), entry.pattern->number, 0);
  }
  const uint8_t channel = channelOfTrack(sequence);
  if (!song.hasLoop(channel)) {
    writeSequenceRecord(w, clock.units(sequence.back().start), n64::kEndMarker, 0);
    return;
  }
  const uint32_t loopEnd = clock.units(song.loopEnd[channel & 15]);
  for (size_t i = 0; i < sequence.size(); ++i) {
    if (sequence[i].start >= song.loopStart[channel & 15]) {
      writeSequenceRecord(w, loopEnd, n64::kLoopMarker, uint16_t(i));
      return;
    }
  }
  writeSequenceRecord(w, loopEnd, n64::kEndMarker, 0);
}

class PatternWriter {
 public:
  PatternWriter(ByteWriter& w, const SongClock& clock) : w_(w), clock_(clock) {}

  void write(const Pattern& pattern) {
    const size_t header = w_.size();
    w_.u32(n64::kPatternHeaderWord);
    w_.u32(0);  // pitch-bend curve
    w_.u32(0);  // modulation curve
    const NoteEnds ends = findNoteEnds(pattern.events);
    for (size_t i = 0; i < pattern.events.size(); ++i) writeEvent(pattern.events, i, ends);
    writeDelta(pattern.events.empty() ? previous_ : clock_.units(pattern.events.back().time));
    w_.u8(0xFF);
    w_.u8(0xFF);
    if (!pitch_.empty()) {
      w_.patchU32(header + n64::kPitchCurveField, uint32_t(w_.size()));
      writeCurve(w_, pitch_.points(), n64::kPitchBendCentre);
    }
    if (!modulation_.empty()) {
      w_.patchU32(header + n64::kModulationCurveField, uint32_t(w_.size()));
      writeCurve(w_, modulation_.points(), n64::kModulationStart);
    }
    w_.padTo(n64::kPatternAlignment);
  }

 private:
  void writeEvent(const EventList& events, size_t i, const NoteEnds& ends) {
    const MidiEvent& e = events[i];
    const uint32_t time = clock_.units(e.time);
    switch (e.kind()) {
      case 0x90:
        if (ends.endOf[i] == kNoNoteEnd) return;
        writeDelta(time);
        w_.u8(e.data1);
        w_.u8(e.data2);
        w_.u16(uint16_t(clock_.units(events[ends.endOf[i]].time) - time));
        return;
      case 0xB0: return writeController(e, time);
      case 0xC0: return writeShortEvent(time, e.data1 | n64::kValueFlag, 0);
      case 0xD0: return writeShortEvent(time, e.data1 | n64::kValueFlag, 1);
      case 0xE0: return pitch_.add(time, uint16_t(e.data1 | (e.data2 << 7)));
      default: return;  // note-off, polyphonic pressure, tempo entry
    }
  }

  void writeController(const MidiEvent& e, uint32_t time) {
    switch (e.data1) {
      case n64::kModulationController: return modulation_.add(time, uint16_t(e.data2 * 128));
      case n64::kModulationFineController: return modulation_.add(time, e.data2);
      case kLoopStartController:
      case kLoopEndController: return;
      default: return writeShortEvent(time, e.data2 | n64::kValueFlag, e.data1 | n64::kValueFlag);
    }
  }

  void writeShortEvent(uint32_t time, uint8_t first, uint8_t second) {
    writeDelta(time);
    w_.u8(first);
    w_.u8(second);
  }

  // The delta from the previously written event; longer ones are stepped
  // with 0xFFFF and two zero bytes.
  void writeDelta(uint32_t time) {
    uint32_t delta = time - previous_;
    while (delta > n64::kLongestDelta) {
      w_.u16(uint16_t(n64::kLongestDelta));
      w_.u16(0);
      delta -= n64::kLongestDelta;
    }
    w_.u16(uint16_t(delta));
    previous_ = time;
  }

  ByteWriter& w_;
  const SongClock& clock_;
  uint32_t previous_ = 0;
  Curve pitch_{Curve::SameTime::Separate};
  Curve modulation_{Curve::SameTime::Merge};
};

uint32_t tempoWord(const SongArrangement& song, const ReleaseProfile& release) {
  if (release.n64TempoWord == N64TempoWord::PlainBpm) return song.bpm;
  return (song.bpm & n64::kBpmMask) | (song.loopSectionCount > 1 ? n64::kSeveralLoopsFlag : 0);
}

// The header up to the track table; returns the track table's offset.
size_t writeHeader(ByteWriter& w, const SongArrangement& song, const SongClock& clock, const ReleaseProfile& release) {
  const bool severalLoops = song.loopSectionCount > 1 && release.n64TempoWord == N64TempoWord::BpmWithLoopFlag;
  const size_t trackTable = severalLoops ? n64::kSeveralLoopsTrackTableOffset : n64::kTrackTableOffset;
  w.u32(uint32_t(trackTable & n64::kOffsetMask));
  w.u32(0);  // pattern table
  w.u32(0);  // channel table
  w.u32(0);  // tempo table
  w.u32(tempoWord(song, release));
  if (severalLoops) {
    for (unsigned channel = 0; channel < 16; ++channel) w.u32(clock.units(song.loopStart[channel]));
    w.u32(0);  // channel table again
  } else {
    w.u32(song.hasLoop(0) ? clock.units(song.loopStart[0]) : 0);
  }
  return trackTable;
}

void writeTables(ByteWriter& w, const std::array<uint8_t, n64::kTrackSlots>& channels, const MidiImage& image,
                 const SongClock& clock, size_t trackTable) {
  const uint32_t channelTable = uint32_t(w.size());
  w.patchU32(n64::kChannelTableField, channelTable);
  if (trackTable == n64::kSeveralLoopsTrackTableOffset) w.patchU32(n64::kSeveralLoopsChannelField, channelTable);
  w.bytes(channels);
  const EventList& tempo = image.lists[MidiImage::kTempoList];
  if (tempo.size() < 2) return;
  w.patchU32(n64::kTempoTableField, uint32_t(w.size()));
  for (const MidiEvent& e : tempo) {
    w.u32(clock.units(e.time));
    w.u32(e.bpm);
  }
  w.u32(n64::kTempoTableEnd);
}

}  // namespace

std::optional<std::vector<uint8_t>> encodeN64Song(const SongArrangement& song, const MidiImage& image,
                                                  common::Endian order, SongRun& run) {
  if (song.trackCount > n64::kTrackSlots) {
    run.say(kMsgTooManySongTracks);
    return std::nullopt;
  }
  const SongClock clock(kN64UnitsPerBeat, image.ticksPerBeat);
  ByteWriter w(order);
  const size_t trackTable = writeHeader(w, song, clock, run.release);
  w.zeros(n64::kTrackSlots * 4);
  std::array<uint8_t, n64::kTrackSlots> channels;
  channels.fill(n64::kNoChannel);
  for (size_t track = 0; track < song.trackCount; ++track) {
    const auto& sequence = song.sequences[track];
    if (sequence.empty()) continue;
    w.patchU32(trackTable + 4 * track, uint32_t(w.size()));
    channels[track] = channelOfTrack(sequence);
    writeSequence(w, sequence, song, clock);
  }
  const size_t table = w.size();
  w.patchU32(n64::kPatternTableField, uint32_t(table & n64::kOffsetMask));
  w.zeros(song.patterns.size() * 4);
  for (const Pattern& pattern : song.patterns) {
    w.patchU32(table + 4 * size_t(pattern.number), uint32_t(w.size()));
    PatternWriter(w, clock).write(pattern);
  }
  writeTables(w, channels, image, clock, trackTable);
  return w.take();
}

int writeN64Song(const std::filesystem::path& path, const SongArrangement& song, const MidiImage& image,
                 common::Endian order, SongRun& run) {
  const auto bytes = encodeN64Song(song, image, order, run);
  if (!bytes) return -1;
  return writeSongFile(path, *bytes, run);
}

}  // namespace midisong
