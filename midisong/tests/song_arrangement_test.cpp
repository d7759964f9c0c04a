#include <gtest/gtest.h>

#include "midi_builder.h"
#include "midisong/song_arrangement.h"
#include "run_capture.h"

using namespace midisong;
using namespace midisong_test;

namespace {

struct Arranged {
  int result = 0;
  std::string text;  // what the arrangement printed (after the file report)
  SongArrangement song;
};

Arranged arrange(const Bytes& midi, Target target, const ReleaseProfile& release = kCurrentRelease) {
  Capture capture(target, release);
  MidiImage image;
  Arranged a;
  EXPECT_EQ(capture.read(midi, image), 0);
  const size_t reportEnd = capture.text().size();
  a.result = arrangeSong(image, a.song, trackLimitFor(target), capture.run);
  if (a.result == 0) {
    dropEmptyPatterns(a.song, familyOf(target));
    numberPatterns(a.song);
  }
  a.text = capture.text().substr(reportEnd);
  return a;
}

// "start:number" per entry of a sequence.
std::string sequence(const Arranged& a, size_t track) {
  std::string s;
  for (const SequenceEntry& e : a.song.sequences[track]) {
    s += (s.empty() ? "" : " ") + std::to_string(e.start) + ":" + std::to_string(e.pattern->number);
  }
  return s;
}

}  // namespace

TEST(SongArrangement, RejectsLoopMarkersThatDoNotMakeOneSection) {
  using Track = std::vector<std::array<uint32_t, 3>>;  // delta, channel, controller
  struct Case {
    std::vector<Track> tracks;
    Target target;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{{{0, 0, 102}, {10, 0, 102}, {10, 0, 103}}}, Target::GameBoy, "*** More than one Start-Loop marker found!\n"},
      {{{{0, 0, 102}, {10, 0, 103}, {10, 0, 103}}}, Target::GameBoy, "*** More than one End-Loop marker found!\n"},
      {{{{10, 0, 103}}, {{20, 0, 102}}},
       Target::Nintendo64,
       "*** End-Loop marker cannot be equal or before Start-Loop marker.\n"},  // end met first
      {{{{20, 0, 102}}, {{10, 0, 103}}},
       Target::Nintendo64,
       "*** End-Loop marker cannot be equal or before Start-Loop marker.\n"},  // start met first
      {{{{0, 0, 103}}}, Target::GameBoy, "*** End-Loop marker cannot be equal or before Start-Loop marker.\n"},
      {{{{5, 0, 102}, {0, 0, 103}}},
       Target::GameBoy,
       "*** End-Loop marker cannot be equal or before Start-Loop marker.\n"},
      {{{{5, 0, 102}}},
       Target::GameBoy,
       "*** Unbalanced Loop markers found! Must have exactly one start and one end marker!\n"},
      {{{{5, 3, 103}}},
       Target::Advance,
       "*** Unbalanced Loop markers found! Must have exactly one start and one end marker!\n"},
      {{{{0, 0, 102}, {0, 1, 102}, {10, 0, 103}, {0, 1, 103}}},
       Target::GameBoy,
       "*** Target platform does not support multiple loop sections.\n"},
      {{{{0, 0, 102}, {0, 1, 102}, {10, 0, 103}, {0, 1, 103}}},
       Target::Nintendo64,
       "*** Target platform does not support multiple loop sections.\n"},
  };
  for (const Case& c : cases) {
    MidiBuilder midi(1, 96);
    for (const Track& t : c.tracks) {
      TrackBuilder& track = midi.track();
      for (const auto& [dt, channel, controller] : t) track.control(dt, uint8_t(channel), uint8_t(controller), 0);
      track.on(0, 0, 60, 100).off(1, 0, 60).end();
    }
    const Arranged a = arrange(midi.bytes(), c.target);
    EXPECT_EQ(a.result, -1) << c.message;
    EXPECT_EQ(a.text, c.message);
  }
}

TEST(SongArrangement, OneLoopSectionCutsEveryTrackAtTheSameTick) {
  MidiBuilder midi(1, 96);
  midi.track().on(0, 0, 60, 100).off(100, 0, 60).on(0, 0, 61, 100).off(100, 0, 61).end();
  midi.track().on(50, 1, 62, 100).off(200, 1, 62).end();  // first event before, rest after the loop start
  midi.track().on(100, 2, 64, 100).off(10, 2, 64).end();
  midi.track().on(300, 3, 65, 100).off(10, 3, 65).end();              // starts after the loop start
  midi.track().on(0, 4, 66, 100).off(10, 4, 66).end();                // ends before the loop start
  midi.track().control(20, 2, 102, 0).control(280, 2, 103, 0).end();  // loop markers only
  const Arranged a = arrange(midi.bytes(), Target::Nintendo64);
  ASSERT_EQ(a.result, 0) << a.text;
  EXPECT_EQ(a.text, "Initial BPM rate: 120,   Loop: 20 - 300\n");
  for (unsigned channel = 0; channel < 16; ++channel) {
    EXPECT_EQ(a.song.loopStart[channel], 20u);
    EXPECT_EQ(a.song.loopEnd[channel], 300u);
  }
  EXPECT_EQ(a.song.loopSectionCount, 1u);
  EXPECT_EQ(sequence(a, 0), "0:0 100:1");
  EXPECT_EQ(sequence(a, 1), "50:2");
  EXPECT_EQ(sequence(a, 2), "100:3");
  EXPECT_EQ(sequence(a, 3), "300:4");
  EXPECT_EQ(sequence(a, 4), "0:5");
  EXPECT_EQ(sequence(a, 5), "");
  ASSERT_EQ(a.song.patterns.size(), 6u);
  // Event times count from the pattern's start.
  const Pattern& body = *std::next(a.song.patterns.begin());
  EXPECT_EQ(body.events.front().time, 0u);
  EXPECT_EQ(body.events.back().time, 100u);
  EXPECT_EQ(body.start, 100u);
}

TEST(SongArrangement, DolphinKeepsALoopSectionPerChannel) {
  MidiBuilder midi(1, 96);
  midi.track().tempo(0, 500000).tempo(50, 600000).end();
  midi.track().on(0, 0, 60, 100).control(10, 0, 102, 0).off(10, 0, 60).control(10, 0, 103, 0).end();
  midi.track().on(0, 1, 60, 100).control(40, 1, 102, 0).off(10, 1, 60).control(10, 1, 103, 0).end();
  const Arranged a = arrange(midi.bytes(), Target::Dolphin);
  ASSERT_EQ(a.result, 0);
  std::string expected = "Initial BPM rate: 120,   Loop: Section 0: 10 - 30\n Section 1: 40 - 60\n";
  for (int n = 2; n < 16; ++n) expected += " Section " + std::to_string(n) + ": (none)\n";
  EXPECT_EQ(a.text, expected);
  EXPECT_EQ(a.song.loopSectionCount, 2u);
  EXPECT_EQ(sequence(a, 1), "0:0 10:1");
  EXPECT_EQ(sequence(a, 2), "0:2 40:3");
  // The tempo track is cut at the loop start of channel 0.
  EXPECT_EQ(sequence(a, 256), "0:4 50:5");
}

TEST(SongArrangement, Release129gHasOneLoopSectionForTheWholeFile) {
  MidiBuilder midi(1, 96);
  midi.track().on(0, 0, 60, 100).control(10, 0, 102, 0).off(10, 0, 60).end();
  midi.track().on(0, 1, 60, 100).off(40, 1, 60).on(0, 1, 61, 100).control(10, 5, 103, 0).off(10, 1, 61).end();
  const Arranged a = arrange(midi.bytes(), Target::Nintendo64, kRelease129g);
  ASSERT_EQ(a.result, 0);
  EXPECT_EQ(a.text, "Initial BPM rate: 120,   Loop: 10 - 50\n");
  EXPECT_EQ(sequence(a, 1), "0:2 40:3");
  MidiBuilder twice(1, 96);
  twice.track().on(0, 0, 60, 100).control(10, 0, 102, 0).control(10, 0, 103, 0).end();
  twice.track().control(5, 7, 102, 0).end();
  const Arranged b = arrange(twice.bytes(), Target::GameBoy, kRelease129g);
  EXPECT_EQ(b.result, -1);
  EXPECT_EQ(b.text, "*** More than one Start-Loop marker found!\n");
}

TEST(SongArrangement, DropsPatternsWithNothingTheTargetPlays) {
  MidiBuilder midi(0, 96);
  midi.track()
      .bend(0, 0, 0, 64)       // channel 0: pitch bend only
      .pressure(0, 1, 20)      // channel 1: channel pressure only
      .control(0, 2, 7, 100)   // channel 2: a controller
      .on(0, 3, 60, 0)         // channel 3: a note-on of velocity 0
      .on(0, 6, 60, 100)       // channel 6: beyond the Game Boy's four
      .raw({0, 0xA7, 60, 10})  // channel 7: polyphonic pressure only
      .end();
  const Arranged gb = arrange(midi.bytes(), Target::GameBoy);
  ASSERT_EQ(gb.result, 0);
  EXPECT_EQ(gb.text, "Used BPM rate: 120,   Loop: (none)\n");  // no tempo event: 120
  EXPECT_EQ(sequence(gb, 0) + "|" + sequence(gb, 1) + "|" + sequence(gb, 2) + "|" + sequence(gb, 3), "||0:0|0:1");
  EXPECT_EQ(gb.song.patterns.size(), 2u);
  const Arranged gba = arrange(midi.bytes(), Target::Advance);
  EXPECT_EQ(sequence(gba, 6), "0:2");
  EXPECT_EQ(sequence(gba, 7), "");
  const Arranged n64 = arrange(midi.bytes(), Target::Nintendo64);  // format 0: per channel
  EXPECT_EQ(n64.song.patterns.size(), 6u);
  EXPECT_EQ(sequence(n64, 0) + "|" + sequence(n64, 1) + "|" + sequence(n64, 7), "0:0|0:1|0:5");
}
