// The in-memory MIDI file: time-sorted event lists and the tempo list.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace midisong {

// One stored MIDI event. A tempo entry has status, data1 and data2 all 0 and a
// non-zero bpm, so it matches no channel-message test and counts as channel 0.
struct MidiEvent {
  uint32_t time = 0;   // ticks from the start of its track chunk, later of its pattern
  uint8_t status = 0;  // kind in the high nibble, channel in the low nibble
  uint8_t data1 = 0;
  uint8_t data2 = 0;  // 0 for program change and channel pressure
  uint32_t bpm = 0;   // beats per minute of a tempo entry, 0 for every other event

  uint8_t kind() const { return status & 0xF0; }
  uint8_t channel() const { return status & 0x0F; }
  bool isTempo() const { return bpm != 0; }
  // A note-on that starts a note (velocity above 0).
  bool startsNote() const { return kind() == 0x90 && data2 > 0; }
  // A note-off of `key`, or a note-on of `key` with velocity 0, on any channel.
  bool endsKey(uint8_t key) const { return data1 == key && (kind() == 0x80 || (kind() == 0x90 && data2 == 0)); }
  bool isController(uint8_t controller) const { return kind() == 0xB0 && data1 == controller; }
};

// A list in time order; events of equal time keep their file order. Kept as a
// contiguous array: readers append, pattern cutting splits it in two.
using EventList = std::vector<MidiEvent>;

// MIDI controllers that mark the loop section of a channel.
constexpr uint8_t kLoopStartController = 102;
constexpr uint8_t kLoopEndController = 103;

struct MidiImage {
  static constexpr size_t kListCount = 257;
  static constexpr size_t kTempoList = 256;

  // 0..255: channel messages, by MIDI channel or by track chunk; 256: tempo.
  std::array<EventList, kListCount> lists;
  uint32_t trackCount = 0;    // 16 when read per channel, else the chunks read
  uint32_t ticksPerBeat = 0;  // the division word as it stands in the file
};

}  // namespace midisong
