// The song as the writers see it: every track cut into at most two patterns
// (an intro and a loop body) and the sequence of patterns each track plays.
#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <vector>

#include "midi_event.h"
#include "song_run.h"

namespace midisong {

struct Pattern {
  uint16_t number = 0;  // index in the song file's pattern table (numberPatterns)
  uint16_t track = 0;   // the MidiImage list it came from; 256 for the tempo track
  uint32_t start = 0;   // absolute tick at which it begins, as its sequence entry
  EventList events;     // times relative to `start`: the first event is at 0
};

struct SequenceEntry {
  uint32_t start = 0;          // absolute tick at which the pattern begins
  Pattern* pattern = nullptr;  // owned by SongArrangement::patterns
};

struct SongArrangement {
  static constexpr size_t kTempoTrack = MidiImage::kTempoList;

  SongArrangement() = default;
  SongArrangement(const SongArrangement&) = delete;
  SongArrangement& operator=(const SongArrangement&) = delete;
  SongArrangement(SongArrangement&&) = default;
  SongArrangement& operator=(SongArrangement&&) = default;

  // One sequence per MidiImage list, sorted by start; 256 is the tempo track.
  std::array<std::vector<SequenceEntry>, MidiImage::kListCount> sequences;
  std::list<Pattern> patterns;           // creation order; elements never move
  std::array<uint32_t, 16> loopStart{};  // ticks per MIDI channel; equal
  std::array<uint32_t, 16> loopEnd{};    // values: no loop section
  uint32_t loopSectionCount = 0;
  uint32_t bpm = 0;
  uint32_t trackCount = 0;

  bool hasLoop(unsigned channel) const { return loopStart[channel & 15] != loopEnd[channel & 15]; }
};

// The number of image lists a target can play: 4, 16 or 64.
uint32_t trackLimitFor(Target target);

// Finds the loop markers, cuts the lists below `trackLimit` and the tempo
// list into patterns with their sequences, and prints the tempo and loop
// report. The events move from the image into the patterns; the image's
// tempo list keeps the events of the first tempo pattern. 0 or -1.
int arrangeSong(MidiImage& image, SongArrangement& song, uint32_t trackLimit, SongRun& run);

// Removes the patterns that hold nothing the target plays, with their
// sequence entries (the tempo track's sequence is left as it is).
int dropEmptyPatterns(SongArrangement& song, TargetFamily family);

// Numbers the patterns 0, 1, 2... in list order.
int numberPatterns(SongArrangement& song);

}  // namespace midisong
