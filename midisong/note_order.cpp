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

// List positions grouped into buckets (one array, a range per bucket) in list
// order, with a cursor per bucket that only the walk moves.
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

  size_t end(size_t b) const { return first_[b + 1]; }
  uint32_t node(size_t entry) const { return nodes_[entry]; }
  size_t& cursor(size_t b) { return cursor_[b]; }

 private:
  std::vector<uint32_t> first_;
  std::vector<size_t> cursor_;
  std::vector<uint32_t> nodes_;
};

// One walk over the list. Nothing ahead of the walk moves behind it except the
// program change it takes (written at once, before the note, and skipped where
// it stood), and within one channel and key the note starts and ends keep
// their order (the two that trade places are neighbours in it), so each search
// is a cursor that only moves forward: the walk is linear in the list's length.
class NoteOrderWalk {
 public:
  explicit NoteOrderWalk(EventList& list)
      : list_(list), taken_(list.size(), false), events_(list, kSlotCount + kChannelCount, bucketOf) {}

  // Until the first program change moves, the new order is the old one and
  // the list stays where it is; from then on the rest is written to a copy.
  void run() {
    std::optional<EventList> ordered;
    for (uint32_t i = 0; i < list_.size(); ++i) {
      if (taken_[i]) continue;  // a program change already written before its note
      std::optional<uint32_t> program;
      if (list_[i].startsNote()) {
        moveEndBeforeRestart(i);
        program = programBeforeNote(i);
      }
      if (program && !ordered) {
        ordered.emplace();
        ordered->reserve(list_.size());
        ordered->assign(list_.begin(), list_.begin() + i);
      }
      if (!ordered) continue;
      if (program) ordered->push_back(list_[*program]);
      ordered->push_back(list_[i]);
    }
    if (ordered) list_.swap(*ordered);
  }

 private:
  // Note starts and ends by channel and key, then program changes by channel.
  static std::optional<size_t> bucketOf(const MidiEvent& e) {
    if (isNoteEvent(e)) return slotOf(e);
    if (isProgramChange(e)) return kSlotCount + e.channel();
    return std::nullopt;
  }

  // A note that starts on the tick on which the previous note of its key ends
  // goes after that end: E is the first end of the key after N, S the start
  // of the key just before E; they trade places when S is not N and lies on
  // E's tick.
  void moveEndBeforeRestart(uint32_t n) {
    const size_t slot = slotOf(list_[n]);
    size_t& entry = events_.cursor(slot);
    while (entry < events_.end(slot) && (!endsNote(list_[events_.node(entry)]) || events_.node(entry) < n)) {
      ++entry;
    }
    if (entry == events_.end(slot)) return;
    const uint32_t e = events_.node(entry);
    const uint32_t s = events_.node(entry - 1);  // a start: N lies between the previous end and E
    if (s == n || list_[s].time != list_[e].time) return;
    std::swap(list_[s], list_[e]);  // both lie ahead of the walk
    --entry;
  }

  // A program change of the note's channel on the note's tick moves to just
  // before the note; every other event keeps its place. Returns its position.
  std::optional<uint32_t> programBeforeNote(uint32_t n) {
    const size_t bucket = kSlotCount + list_[n].channel();
    size_t& entry = events_.cursor(bucket);
    while (entry < events_.end(bucket) && events_.node(entry) < n) ++entry;
    if (entry == events_.end(bucket)) return std::nullopt;
    const uint32_t p = events_.node(entry);
    if (list_[p].time != list_[n].time) return std::nullopt;
    taken_[p] = true;
    ++entry;
    return p;
  }

  EventList& list_;
  std::vector<bool> taken_;  // program changes written before their note
  Buckets events_;
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
