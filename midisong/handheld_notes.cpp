#include "handheld_notes.h"

namespace midisong {

HandheldNotes::HandheldNotes(const Pattern& pattern, const Pattern* following, const SongClock& clock)
    : pattern_(pattern), following_(following), clock_(clock), ends_(findNoteEnds(pattern.events)) {
  followingEnds_.fill(kNoNoteEnd);
  if (following_) followingEnds_ = findNoteEnds(following_->events).firstEnd;
}

std::optional<uint32_t> HandheldNotes::length(size_t index, uint32_t startUnits) const {
  const uint32_t end = ends_.endOf[index];
  if (end != kNoNoteEnd) return clock_.units(pattern_.events[end].time) - startUnits;
  const uint8_t key = pattern_.events[index].data1;
  if (!following_ || followingEnds_[key] == kNoNoteEnd) return std::nullopt;
  // The two times count from different pattern starts: measure both from the
  // song's start, and never let rounding make the length negative.
  const uint64_t endUnits =
      clock_.wideUnits(uint64_t(following_->start) + following_->events[followingEnds_[key]].time);
  const uint64_t noteUnits = clock_.wideUnits(uint64_t(pattern_.start) + pattern_.events[index].time);
  return uint32_t(endUnits > noteUnits ? endUnits - noteUnits : 0);
}

const Pattern* followingPatternOfTrack(const std::list<Pattern>& patterns, std::list<Pattern>::const_iterator it) {
  const auto next = std::next(it);
  return next != patterns.end() && next->track == it->track ? &*next : nullptr;
}

}  // namespace midisong
