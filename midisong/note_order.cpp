#include "note_order.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace midisong {
namespace {

size_t slotOf(uint8_t channel, uint8_t key) { return size_t(channel) * 256 + key; }

bool endsNoteOn(const MidiEvent& e, uint8_t channel, uint8_t key) {
  return e.data1 == key && (e.status == (0x80 | channel) || (e.status == (0x90 | channel) && e.data2 == 0));
}

// Positions of the events that end a key, as (channel and key, position)
// keys in one sorted array.
class EndIndex {
 public:
  explicit EndIndex(const EventList& list) {
    for (size_t i = 0; i < list.size(); ++i) {
      const MidiEvent& e = list[i];
      if (endsNoteOn(e, e.channel(), e.data1)) keys_.push_back(keyOf(slotOf(e.channel(), e.data1), i));
    }
    // Already sorted by position; a stable sort by slot keeps that order.
    std::stable_sort(keys_.begin(), keys_.end(), [](uint64_t a, uint64_t b) { return (a >> 32) < (b >> 32); });
  }

  // The first end of the slot after position `from`, or nothing.
  std::optional<size_t> nextAfter(size_t slot, size_t from) const {
    const auto it = std::upper_bound(keys_.begin(), keys_.end(), keyOf(slot, from));
    if (it == keys_.end() || (*it >> 32) != slot) return std::nullopt;
    return size_t(it - keys_.begin());
  }
  size_t position(size_t entry) const { return size_t(keys_[entry] & 0xFFFFFFFF); }
  // The end at `entry` moved to an earlier position, still after the previous end of its slot.
  void move(size_t entry, size_t position) { keys_[entry] = keyOf(keys_[entry] >> 32, position); }

 private:
  static uint64_t keyOf(size_t slot, size_t position) { return (uint64_t(slot) << 32) | uint64_t(position); }

  std::vector<uint64_t> keys_;
};

// A note that starts on the tick on which the previous note of its key ends
// goes after that end: S, the nearest start of the key before the end E, trades
// places with E when it is not N itself and lies on E's tick.
void moveEndBeforeRestart(EventList& list, size_t n, EndIndex& ends, size_t entry) {
  const MidiEvent& note = list[n];
  const size_t e = ends.position(entry);
  for (size_t j = e - 1; j > n && list[j].time == list[e].time; --j) {
    const MidiEvent& s = list[j];
    if (s.status == note.status && s.data1 == note.data1 && s.data2 > 0) {
      std::swap(list[j], list[e]);
      ends.move(entry, j);
      return;
    }
  }
}

// A program change of the note's channel on the note's tick goes first. Events
// are in time order, so only the note's own tick needs to be searched.
void moveProgramBeforeNote(EventList& list, size_t n) {
  const uint8_t program = 0xC0 | list[n].channel();
  for (size_t j = n + 1; j < list.size() && list[j].time == list[n].time; ++j) {
    if (list[j].status == program) {
      std::swap(list[n], list[j]);
      return;
    }
  }
}

}  // namespace

void fixNoteOrder(EventList& list) {
  EndIndex ends(list);
  for (size_t i = 0; i < list.size(); ++i) {
    const MidiEvent& note = list[i];
    if (!note.startsNote()) continue;
    if (const auto entry = ends.nextAfter(slotOf(note.channel(), note.data1), i)) {
      moveEndBeforeRestart(list, i, ends, *entry);
    }
    moveProgramBeforeNote(list, i);
  }
}

void fixNoteOrder(MidiImage& image) {
  for (uint32_t i = 0; i < image.trackCount && i < MidiImage::kTempoList; ++i) fixNoteOrder(image.lists[i]);
}

}  // namespace midisong
