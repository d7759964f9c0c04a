#include "note_order.h"

#include <utility>

namespace midisong {
namespace {

constexpr size_t kKeySlots = 16 * 256;

size_t slotOf(uint8_t channel, uint8_t key) { return size_t(channel) * 256 + key; }

bool endsNoteOn(const MidiEvent& e, uint8_t channel, uint8_t key) {
  return e.data1 == key && (e.status == (0x80 | channel) || (e.status == (0x90 | channel) && e.data2 == 0));
}

// Positions of the events that end a key, per channel and key, in list order.
// The walk only moves forward, so each slot keeps a cursor to its next end.
struct EndIndex {
  std::vector<std::vector<uint32_t>> positions = std::vector<std::vector<uint32_t>>(kKeySlots);
  std::vector<size_t> cursor = std::vector<size_t>(kKeySlots, 0);

  explicit EndIndex(const EventList& list) {
    for (size_t i = 0; i < list.size(); ++i) {
      const MidiEvent& e = list[i];
      if (endsNoteOn(e, e.channel(), e.data1)) positions[slotOf(e.channel(), e.data1)].push_back(uint32_t(i));
    }
  }

  // The first end of the slot after position `from`, or nullptr.
  uint32_t* nextAfter(size_t slot, size_t from) {
    auto& list = positions[slot];
    size_t& c = cursor[slot];
    while (c < list.size() && list[c] <= from) ++c;
    return c < list.size() ? &list[c] : nullptr;
  }
};

// A note that starts on the tick on which the previous note of its key ends
// goes after that end: S, the nearest start of the key before the end E, trades
// places with E when it is not N itself and lies on E's tick.
void moveEndBeforeRestart(EventList& list, size_t n, uint32_t& endPosition) {
  const MidiEvent& note = list[n];
  const size_t e = endPosition;
  for (size_t j = e - 1; j > n && list[j].time == list[e].time; --j) {
    const MidiEvent& s = list[j];
    if (s.status == note.status && s.data1 == note.data1 && s.data2 > 0) {
      std::swap(list[j], list[e]);
      endPosition = uint32_t(j);
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
    if (uint32_t* end = ends.nextAfter(slotOf(note.channel(), note.data1), i)) moveEndBeforeRestart(list, i, *end);
    moveProgramBeforeNote(list, i);
  }
}

void fixNoteOrder(MidiImage& image) {
  for (uint32_t i = 0; i < image.trackCount && i < MidiImage::kTempoList; ++i) fixNoteOrder(image.lists[i]);
}

}  // namespace midisong
