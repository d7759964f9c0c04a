#include "note_order.h"

#include <optional>
#include <utility>

namespace midisong {
namespace {

constexpr size_t kSlotCount = 16 * 256;  // channel and key
constexpr size_t kChannelCount = 16;

size_t slotOf(const MidiEvent& e) { return size_t(e.channel()) * 256 + e.data1; }
bool endsNote(const MidiEvent& e) { return e.kind() == 0x80 || (e.kind() == 0x90 && e.data2 == 0); }
bool isNoteEvent(const MidiEvent& e) { return e.kind() == 0x80 || e.kind() == 0x90; }
bool isProgramChange(const MidiEvent& e) { return e.kind() == 0xC0; }

// Node ids grouped into buckets (one array, a range per bucket) in list order,
// with a cursor per bucket that only the walk moves.
class Buckets {
 public:
  template <typename KeyOf>
  Buckets(const EventList& list, size_t bucketCount, KeyOf keyOf)
      : first_(bucketCount + 1, 0), cursor_(bucketCount, 0) {
    for (const MidiEvent& e : list) {
      if (const auto key = keyOf(e)) ++first_[*key + 1];
    }
    for (size_t b = 0; b < bucketCount; ++b) first_[b + 1] += first_[b];
    nodes_.resize(first_[bucketCount]);
    std::vector<uint32_t> fill(first_.begin(), first_.end() - 1);
    for (size_t i = 0; i < list.size(); ++i) {
      if (const auto key = keyOf(list[i])) nodes_[fill[*key]++] = uint32_t(i);
    }
    for (size_t b = 0; b < bucketCount; ++b) cursor_[b] = first_[b];
  }

  size_t begin(size_t b) const { return first_[b]; }
  size_t end(size_t b) const { return first_[b + 1]; }
  uint32_t node(size_t entry) const { return nodes_[entry]; }
  size_t& cursor(size_t b) { return cursor_[b]; }

 private:
  std::vector<uint32_t> first_;
  std::vector<size_t> cursor_;
  std::vector<uint32_t> nodes_;
};

// The list as linked nodes, so that a program change can move in front of a
// note at no cost; the walk never looks back. Nothing ahead of the walk moves
// behind it except the program change it takes, and within one channel and
// key the note starts and ends keep their order (the two that trade places
// are neighbours in it), so each search is a cursor that only moves forward:
// the whole walk is linear in the list's length.
class NoteOrderWalk {
 public:
  explicit NoteOrderWalk(EventList& list)
      : list_(list),
        next_(list.size() + 1),
        prev_(list.size() + 1),
        visited_(list.size(), false),
        notes_(list, kSlotCount, [](const MidiEvent& e) { return optionalKey(isNoteEvent(e), slotOf(e)); }),
        programs_(list, kChannelCount,
                  [](const MidiEvent& e) { return optionalKey(isProgramChange(e), e.channel()); }) {
    const uint32_t head = uint32_t(list.size());
    for (uint32_t i = 0; i <= head; ++i) {
      next_[i] = i == head ? 0 : i + 1;
      prev_[i] = i == 0 ? head : i - 1;
    }
  }

  void run() {
    const uint32_t head = uint32_t(list_.size());
    for (uint32_t node = next_[head]; node != head; node = next_[node]) {
      visited_[node] = true;
      if (!list_[node].startsNote()) continue;
      moveEndBeforeRestart(node);
      moveProgramBeforeNote(node);
    }
    EventList ordered;
    ordered.reserve(list_.size());
    for (uint32_t node = next_[head]; node != head; node = next_[node]) ordered.push_back(list_[node]);
    list_.swap(ordered);
  }

 private:
  static std::optional<size_t> optionalKey(bool wanted, size_t key) {
    return wanted ? std::optional<size_t>(key) : std::nullopt;
  }

  // A note that starts on the tick on which the previous note of its key ends
  // goes after that end: E is the first end of the key after N, S the start
  // of the key just before E; they trade places when S is not N and lies on
  // E's tick.
  void moveEndBeforeRestart(uint32_t n) {
    const size_t slot = slotOf(list_[n]);
    size_t& entry = notes_.cursor(slot);
    while (entry < notes_.end(slot) && (!endsNote(list_[notes_.node(entry)]) || visited_[notes_.node(entry)])) {
      ++entry;
    }
    if (entry == notes_.end(slot)) return;
    const uint32_t e = notes_.node(entry);
    const uint32_t s = notes_.node(entry - 1);  // a start: N lies between the previous end and E
    if (s == n || list_[s].time != list_[e].time) return;
    std::swap(list_[s], list_[e]);  // the nodes keep their places, the events trade them
    --entry;
  }

  // A program change of the note's channel on the note's tick moves to just
  // before the note; every other event keeps its place.
  void moveProgramBeforeNote(uint32_t n) {
    const size_t channel = list_[n].channel();
    size_t& entry = programs_.cursor(channel);
    while (entry < programs_.end(channel) && visited_[programs_.node(entry)]) ++entry;
    if (entry == programs_.end(channel)) return;
    const uint32_t p = programs_.node(entry);
    if (list_[p].time != list_[n].time) return;
    next_[prev_[p]] = next_[p];
    prev_[next_[p]] = prev_[p];
    next_[prev_[n]] = p;
    prev_[p] = prev_[n];
    next_[p] = n;
    prev_[n] = p;
    visited_[p] = true;
  }

  EventList& list_;
  std::vector<uint32_t> next_;  // node list.size() is the head
  std::vector<uint32_t> prev_;
  std::vector<bool> visited_;
  Buckets notes_;     // starts and ends by channel and key
  Buckets programs_;  // program changes by channel
};

}  // namespace

void fixNoteOrder(EventList& list) {
  if (list.empty()) return;
  NoteOrderWalk(list).run();
}

void fixNoteOrder(MidiImage& image) {
  for (uint32_t i = 0; i < image.trackCount && i < MidiImage::kTempoList; ++i) fixNoteOrder(image.lists[i]);
}

}  // namespace midisong
