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

constexpr size_t kSlotCount = 16 * 256;

// Positions of the events that end a key, grouped by channel and key (one
// array, a range per slot) in list order. The walk only moves forward, so
// each slot keeps a cursor to its next end.
class EndIndex {
 public:
  explicit EndIndex(const EventList& list) : first_(kSlotCount + 1, 0), cursor_(kSlotCount, 0) {
    for (const MidiEvent& e : list) {
      if (endsNoteOn(e, e.channel(), e.data1)) ++first_[slotOf(e.channel(), e.data1) + 1];
    }
    for (size_t slot = 0; slot < kSlotCount; ++slot) first_[slot + 1] += first_[slot];
    positions_.resize(first_[kSlotCount]);
    std::vector<uint32_t> fill(first_.begin(), first_.end() - 1);
    for (size_t i = 0; i < list.size(); ++i) {
      const MidiEvent& e = list[i];
      if (endsNoteOn(e, e.channel(), e.data1)) positions_[fill[slotOf(e.channel(), e.data1)]++] = uint32_t(i);
    }
  }

  // The first end of the slot after position `from` (which never decreases
  // from call to call for one slot), or nothing.
  std::optional<size_t> nextAfter(size_t slot, size_t from) {
    size_t entry = first_[slot] + cursor_[slot];
    while (entry < first_[slot + 1] && positions_[entry] <= from) ++entry, ++cursor_[slot];
    if (entry == first_[slot + 1]) return std::nullopt;
    return entry;
  }
  size_t position(size_t entry) const { return positions_[entry]; }
  // The end at `entry` moved to an earlier position, still after the previous end of its slot.
  void move(size_t entry, size_t position) { positions_[entry] = uint32_t(position); }

 private:
  std::vector<uint32_t> first_;   // start of each slot's range; one more for the end
  std::vector<uint32_t> cursor_;  // per slot: entries already behind the walk
  std::vector<uint32_t> positions_;
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
