#include "song_arrangement.h"

#include <algorithm>
#include <new>

#include "messages.h"

namespace midisong {
namespace {

constexpr uint32_t kDefaultBpm = 120;

bool isLoopMarker(const MidiEvent& e) {
  return e.isController(kLoopStartController) || e.isController(kLoopEndController);
}

// Reads the loop markers of lists 0 to 255 into song.loopStart/loopEnd.
int findLoopSections(const MidiImage& image, SongArrangement& song, SongRun& run) {
  std::array<bool, 16> startSeen{};
  std::array<bool, 16> endSeen{};
  const bool wholeFile = run.release.loopScope == LoopScope::WholeFile;
  for (size_t i = 0; i < MidiImage::kTempoList; ++i) {
    for (const MidiEvent& e : image.lists[i]) {
      if (!isLoopMarker(e)) continue;
      const unsigned n = wholeFile ? 0 : e.channel();
      if (e.data1 == kLoopStartController) {
        if (startSeen[n]) return run.say(kMsgTwoLoopStarts), -1;
        startSeen[n] = true;
        song.loopStart[n] = e.time;
        if (endSeen[n] && song.loopEnd[n] <= e.time) return run.say(kMsgLoopEndNotAfterStart), -1;
      } else {
        if (endSeen[n]) return run.say(kMsgTwoLoopEnds), -1;
        endSeen[n] = true;
        song.loopEnd[n] = e.time;
        if (e.time <= song.loopStart[n]) return run.say(kMsgLoopEndNotAfterStart), -1;
      }
    }
  }
  song.loopSectionCount = 0;
  unsigned only = 0;
  for (unsigned n = 0; n < 16; ++n) {
    if (startSeen[n] != endSeen[n]) return run.say(kMsgUnbalancedLoop), -1;
    if (startSeen[n]) ++song.loopSectionCount, only = n;
  }
  if (song.loopSectionCount == 1) {
    song.loopStart.fill(song.loopStart[only]);
    song.loopEnd.fill(song.loopEnd[only]);
  } else if (song.loopSectionCount > 1 && run.target != Target::Dolphin) {
    return run.say(kMsgMultipleLoops), -1;
  }
  return 0;
}

// Adds one part of a list as a pattern and a sequence entry; its event times
// become relative to its first event.
void addPart(SongArrangement& song, size_t list, EventList&& events) {
  const uint32_t start = events.front().time;
  song.sequences[list].push_back(SequenceEntry{start, nullptr});
  Pattern& pattern = song.patterns.emplace_back();
  pattern.track = uint16_t(list);
  pattern.start = start;
  pattern.events = std::move(events);
  for (MidiEvent& e : pattern.events) e.time -= start;
  song.sequences[list].back().pattern = &pattern;
}

// Cuts a non-empty list before its first event at or after the loop start of
// the channel of its first event: the intro, then the loop body.
void cutList(EventList& events, size_t list, SongArrangement& song) {
  const unsigned channel = events.front().channel();
  auto cut = events.end();
  if (song.hasLoop(channel)) {
    cut = std::lower_bound(events.begin(), events.end(), song.loopStart[channel],
                           [](const MidiEvent& e, uint32_t t) { return e.time < t; });
  }
  if (cut == events.begin() || cut == events.end()) {
    addPart(song, list, std::move(events));
  } else {
    EventList body(cut, events.end());
    events.erase(cut, events.end());
    addPart(song, list, std::move(events));
    addPart(song, list, std::move(body));
  }
}

void printTempoAndLoop(const MidiImage& image, SongArrangement& song, SongRun& run) {
  const EventList& tempo = image.lists[MidiImage::kTempoList];
  song.bpm = tempo.empty() ? kDefaultBpm : tempo.front().bpm;
  run.sayBare(familyOf(run.target) == TargetFamily::Handheld ? kMsgUsedBpm : kMsgInitialBpm, int(song.bpm));
  const auto printSection = [&](unsigned n) {
    if (song.hasLoop(n)) {
      run.out.print(" %d - %d\n", int(song.loopStart[n]), int(song.loopEnd[n]));
    } else {
      run.say(kMsgNone);
    }
  };
  if (song.loopSectionCount <= 1) {
    printSection(0);
    return;
  }
  for (unsigned n = 0; n < 16; ++n) {
    run.out.print(" Section %d:", int(n));
    printSection(n);
  }
}

}  // namespace

uint32_t trackLimitFor(Target target) {
  switch (target) {
    case Target::GameBoy: return 4;
    case Target::Advance: return 16;
    default: return 64;
  }
}

int arrangeSong(MidiImage& image, SongArrangement& song, uint32_t trackLimit, SongRun& run) {
  if (findLoopSections(image, song, run) != 0) return -1;
  song.trackCount = image.trackCount;
  int result = 0;
  size_t list = 0;
  try {
    for (list = 0; list < MidiImage::kListCount; ++list) {
      if (list >= trackLimit && list != MidiImage::kTempoList) continue;
      EventList& events = image.lists[list];
      if (events.empty()) continue;
      cutList(events, list, song);
      if (list == MidiImage::kTempoList) {
        // The image keeps the first tempo pattern's events, cut and rebased:
        // the Nintendo 64 writer takes its tempo table from there.
        events = song.sequences[list].front().pattern->events;
      } else {
        EventList().swap(events);
      }
    }
  } catch (const std::bad_alloc&) {
    const bool entryMissing = !song.sequences[list].empty() && song.sequences[list].back().pattern == nullptr;
    if (entryMissing) song.sequences[list].pop_back();
    run.say(entryMissing ? kMsgNoPatternMemory : kMsgNoTrackMemory);
    result = -1;
  }
  printTempoAndLoop(image, song, run);
  return result;
}

namespace {

bool isRelevant(const MidiEvent& e, TargetFamily family) {
  if (e.isTempo()) return true;
  if (isLoopMarker(e)) return false;
  const uint8_t kind = e.kind();
  if (family == TargetFamily::Console) return kind >= 0x80 && kind <= 0xE0;
  return kind == 0x80 || kind == 0x90 || kind == 0xC0 || kind == 0xB0;
}

bool holdsRelevant(const Pattern& p, TargetFamily family) {
  return std::any_of(p.events.begin(), p.events.end(), [&](const MidiEvent& e) { return isRelevant(e, family); });
}

}  // namespace

int dropEmptyPatterns(SongArrangement& song, TargetFamily family) {
  for (size_t i = 0; i < song.trackCount && i < SongArrangement::kTempoTrack; ++i) {
    std::erase_if(song.sequences[i], [&](const SequenceEntry& s) { return !holdsRelevant(*s.pattern, family); });
  }
  song.patterns.remove_if(
      [&](const Pattern& p) { return p.track != SongArrangement::kTempoTrack && !holdsRelevant(p, family); });
  return 0;
}

int numberPatterns(SongArrangement& song) {
  uint16_t number = 0;
  for (Pattern& p : song.patterns) p.number = number++;
  return 0;
}

}  // namespace midisong
