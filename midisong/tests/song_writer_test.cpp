// Song bytes worked out by hand from the layouts for small songs.
#include <gtest/gtest.h>

#include <fstream>
#include "common/testing/cli_run.h"
#include "midi_builder.h"

#include "midisong/curve_encoding.h"
#include "midisong/song_arrangement.h"
#include "midisong/song_clock.h"
#include "midisong/song_writers.h"
#include "run_capture.h"

using namespace midisong;
using namespace midisong_test;

namespace {

struct Converted {
  Bytes bytes;
  std::string text;
  std::string errors;
};

// Reads, arranges and encodes like a run of mid2trk, in memory.
Converted convert(const Bytes& midi, Target target, const ReleaseProfile& release = kCurrentRelease,
                  common::Endian endian = common::Endian::Big) {
  Capture capture(target, release);
  capture.run.endian = target == Target::Advance ? common::Endian::Little : endian;
  MidiImage image;
  SongArrangement song;
  EXPECT_EQ(capture.read(midi, image), 0);
  EXPECT_EQ(arrangeSong(image, song, trackLimitFor(target), capture.run), 0);
  dropEmptyPatterns(song, familyOf(target));
  numberPatterns(song);
  Converted c;
  if (target == Target::GameBoy) {
    c.bytes = encodeGameBoySong(song, image.ticksPerBeat, capture.run.endian, capture.run);
  } else if (target == Target::Advance) {
    c.bytes = encodeAdvanceSong(song, image.ticksPerBeat, capture.run.endian);
  } else {
    c.bytes = encodeN64Song(song, image, capture.run.endian, capture.run).value_or(Bytes{});
  }
  c.text = capture.text();
  c.errors = capture.errors();
  return c;
}

Bytes concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

Bytes be32s(std::initializer_list<uint32_t> values) {
  Bytes b;
  for (uint32_t v : values) put32(b, v);
  return b;
}

Bytes le32s(std::initializer_list<uint32_t> values) {
  Bytes b;
  for (uint32_t v : values) putLe32(b, v);
  return b;
}

}  // namespace

TEST(GameBoySong, WritesNotesProgramsAndSequencesWithoutLoop) {
  MidiBuilder midi(0, 96);  // one beat = 24 units: a tick is a quarter unit
  midi.track()
      .program(0, 0, 5)
      .on(0, 0, 60, 100)
      .on(0, 1, 64, 127)
      .off(24, 1, 64)
      .off(24, 0, 60)
      .program(0, 1, 7)  // after the last note of channel 1: a trailing program change
      .on(48, 0, 62, 8)
      .on(0, 5, 70, 100)  // channel 5 is not played on the Game Boy
      .off(10, 5, 70)
      .off(790, 0, 62)  // 200 units long
      .end();
  const Bytes expected = {0x00, 0x06, 0x00, 0x22, 0x00, 0x78,              // track table, pattern table, 120 BPM
                          0x00, 0x0E, 0x00, 0x18, 0x00, 0x00, 0x00, 0x00,  // channels 0 and 1
                          0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00,  // channel 0: pattern 0, no loop
                          0x00, 0x00, 0x01, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00,  // channel 1: pattern 1, no loop
                          0x00, 0x26, 0x00, 0x33,                                      // pattern table
                          // volume 13, key 60 with program 5, 12 units; volume 1, 24 units on, key 62, 200 units
                          0xD0, 0x00, 0xBC, 0x05, 0x0C, 0x10, 0x18, 0x3E, 0x80, 0xC8, 0xF0, 0x00, 0xFF,
                          // volume 15, key 64, 6 units; program 7 12 units on; end
                          0xF0, 0x00, 0x40, 0x06, 0x00, 0x0C, 0x87, 0xF0, 0x00, 0xFF};
  const Converted c = convert(midi.bytes(), Target::GameBoy);
  EXPECT_EQ(c.bytes, expected);
  EXPECT_EQ(c.errors, "");
}

TEST(GameBoySong, ClosesSequencesWithTheLoopOfChannelZero) {
  MidiBuilder midi(1, 96);
  midi.track()
      .on(0, 0, 60, 100)
      .off(96, 0, 60)
      .on(54, 0, 64, 100)  // tick 150: ends in the loop body at tick 200
      .control(42, 0, 102, 0)
      .on(0, 0, 62, 100)
      .off(8, 0, 64)
      .off(88, 0, 62)
      .control(96, 0, 103, 0)
      .end();
  midi.track().on(0, 1, 50, 100).off(48, 1, 50).end();  // ends before the loop
  midi.track()
      .on(288, 2, 55, 100)  // starts in the loop
      .on(2, 2, 57, 100)    // never ends: not written
      .off(10, 2, 55)
      .end();
  const Bytes expected = {
      0x00, 0x06, 0x00, 0x2F, 0x00, 0x78, 0x00, 0x0E, 0x00, 0x1B, 0x00, 0x25, 0x00, 0x00,
      // channel 0: intro, body from unit 48; loop: 96 - 48 units, to the entry at byte 3, 0 into the loop
      0x00, 0x00, 0x00, 0x00, 0x30, 0x01, 0x00, 0x30, 0xFE, 0x00, 0x03, 0x00, 0x00,
      // channel 1: no entry reaches the loop start
      0x00, 0x00, 0x02, 0x00, 0x60, 0xFF, 0x00, 0x00, 0x00, 0x00,
      // channel 2: the only entry lies 24 units into the loop
      0x00, 0x48, 0x03, 0x00, 0x18, 0xFE, 0x00, 0x00, 0x00, 0x18, 0x00, 0x37, 0x00, 0x42, 0x00, 0x49, 0x00, 0x50,
      // key 60 24 units; key 64 at unit 37 lasting to unit 50 in the next pattern
      0xD0, 0x00, 0x3C, 0x18, 0xD0, 0x25, 0x40, 0x0D, 0xF0, 0x00, 0xFF, 0xD0, 0x00, 0x3E, 0x18, 0xF0, 0x00, 0xFF, 0xD0,
      0x00, 0x32, 0x0C, 0xF0, 0x00, 0xFF, 0xD0, 0x00, 0x37, 0x03, 0xF0, 0x00, 0xFF};
  const Converted c = convert(midi.bytes(), Target::GameBoy);
  EXPECT_EQ(c.bytes, expected);
}

TEST(GameBoySong, EncodesVolumesDurationsAndLongDistances) {
  struct Case {
    uint8_t velocity;
    uint32_t gap;     // ticks before the second note (division 24: ticks are units)
    uint32_t length;  // of the second note
    Bytes note;       // the second note's bytes
    bool warns;
  };
  const std::vector<Case> cases = {
      {1, 10, 0, {0x10, 0x0A, 0x3E, 0x01}, false},
      {11, 10, 127, {0x10, 0x0A, 0x3E, 0x7F}, false},
      {12, 10, 128, {0x20, 0x0A, 0x3E, 0x80, 0x80}, false},
      {100, 10, 300, {0xD0, 0x0A, 0x3E, 0x81, 0x2C}, false},
      {116, 4095, 1, {0xFF, 0xFF, 0x3E, 0x01}, false},
      {127, 5000, 1, {0xF3, 0x88, 0x3E, 0x01}, true},  // 5000 & 0x0FFF = 0x388
  };
  for (const Case& c : cases) {
    MidiBuilder midi(0, 24);
    midi.track().on(0, 0, 60, 100).off(0, 0, 60).on(c.gap, 0, 62, c.velocity).off(c.length, 0, 62).end();
    const Converted out = convert(midi.bytes(), Target::GameBoy);
    const Bytes pattern(out.bytes.begin() + 26, out.bytes.end());
    EXPECT_EQ(pattern, concat({{0xD0, 0x00, 0x3C, 0x01}, c.note, {0xF0, 0x00, 0xFF}})) << int(c.velocity);
    EXPECT_EQ(out.errors, c.warns ? "Warning: Note distance too large!!! Arrangement may not be correct!\n" : "");
  }
}

TEST(AdvanceSong, WritesTheTempoTrackControllerAndTrailingProgram) {
  MidiBuilder midi(1, 96);  // 96 units per beat: ticks are units
  midi.track().tempo(0, 500000).tempo(192, 600000).end();
  midi.track()
      .program(0, 0, 9)
      .on(0, 0, 60, 100)
      .off(96, 0, 60)
      .control(0, 0, 104, 5)
      .control(96, 0, 102, 0)
      .on(0, 0, 62, 90)
      .off(8, 0, 62)
      .program(50, 0, 10)
      .control(134, 0, 103, 0)
      .end();
  const Bytes expected = concat({
      le32s({12, 144}),
      {0x78, 0x00, 0x00, 0x00},
      le32s({80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 112}),
      le32s({0, 0, 192, 1, 192, 0xFFFFFFFE, 8, 0}),  // channel 0: loop back to the entry at byte 8
      le32s({0, 2, 192, 3, 192, 0xFFFFFFFE, 8, 0}),  // tempo track
      le32s({160, 176, 190, 198}),
      {0x00, 0x00, 0x64, 0xBC, 0x09, 0x00, 0x60, 0x00,  // key 60 with program 9, 96 units
       0x60, 0x00, 0x00, 0x85,                          // controller 104 = 5
       0xFF, 0xFF, 0xFF, 0xFF},
      {0x00, 0x00, 0x5A, 0x3E, 0x08, 0x00,  // key 62, 8 units
       0x3A, 0x00, 0x00, 0x0A,              // program 10, 58 units on
       0xFF, 0xFF, 0xFF, 0xFF},
      {0x00, 0x00, 0x78, 0x00, 0xFF, 0xFF, 0xFF, 0xFF},
      {0x00, 0x00, 0x64, 0x00, 0xFF, 0xFF, 0xFF, 0xFF},
  });
  const Converted c = convert(midi.bytes(), Target::Advance);
  EXPECT_EQ(c.bytes, expected);
  EXPECT_NE(c.text.find("Used BPM rate: 120,   Loop: 192 - 384\n"), std::string::npos);
}

TEST(AdvanceSong, StepsOverLongDistancesWithFillers) {
  MidiBuilder midi(0, 96);
  midi.track().on(0, 0, 60, 100).off(10, 0, 60).on(69990, 0, 62, 100).off(10, 0, 62).end();
  const Bytes expected = concat({
      le32s({12, 104}),
      {0x78, 0x00, 0x00, 0x00},
      le32s({80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
      le32s({0, 0, 0, 0xFFFFFFFF, 0, 0}),
      le32s({108}),
      {0x00, 0x00, 0x64, 0x3C, 0x0A, 0x00, 0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00,  // filler: 65535 units
       0x71, 0x11, 0x64, 0x3E, 0x0A, 0x00,                                      // 70000 - 65535 = 4465
       0xFF, 0xFF, 0xFF, 0xFF},
  });
  EXPECT_EQ(convert(midi.bytes(), Target::Advance).bytes, expected);
}

TEST(N64Song, WritesEventsCurvesSequencesAndTheChannelTable) {
  MidiBuilder midi(1, 96);  // 384 units per beat: a tick is 4 units
  midi.track().tempo(0, 500000).tempo(96, 600000).end();
  midi.track()
      .program(0, 3, 7)
      .on(0, 3, 60, 100)
      .control(10, 3, 7, 100)
      .pressure(10, 3, 50)
      .control(10, 3, 1, 2)
      .control(0, 3, 33, 5)  // same tick: one modulation point 2 * 128 | 5
      .bend(10, 3, 0, 0x41)
      .off(8, 3, 60)
      .control(48, 3, 102, 0)
      .on(0, 3, 62, 90)
      .off(24, 3, 62)
      .raw({30, 0xA3, 62, 10})  // polyphonic pressure: not written
      .control(42, 3, 103, 0)
      .end();
  Bytes channels(64, 0xFF);
  channels[1] = 3;
  const Bytes expected = concat({
      be32s({24, 316, 436, 0, 120, 384}),
      be32s({0, 280}),
      Bytes(size_t(62) * 4, 0),
      // entries: song start, FF FF, 0, pattern number, 0; closing: loop end, marker, entry
      {0, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0},
      {0, 0, 1, 0x80, 0xFF, 0xFF, 0, 0, 0, 1, 0, 0},
      {0, 0, 3, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFE, 0, 1},
      be32s({332, 380, 404, 420}),
      be32s({8, 366, 372}),
      {0x00, 0x00, 0x87, 0x00,               // program 7
       0x00, 0x00, 0x3C, 0x64, 0x00, 0xC0,   // key 60, velocity 100, 192 units
       0x00, 0x28, 0xE4, 0x87,               // controller 7 = 100
       0x00, 0x28, 0xB2, 0x01,               // channel pressure 50
       0x00, 0x70, 0xFF, 0xFF},              // to the last event (unit 192)
      {0x80, 0xA0, 0x80, 0x80, 0x80, 0x00},  // pitch bend: 160 units on, +128
      {0x78, 0x81, 0x05, 0x80, 0x00},        // modulation: 120 units on, +261
      {0, 0, 0},
      be32s({8, 0, 0}),
      {0x00, 0x00, 0x3E, 0x5A, 0x00, 0x60, 0x01, 0x80, 0xFF, 0xFF, 0, 0},
      be32s({8, 0, 0}),
      {0x00, 0x00, 0xFF, 0xFF},  // tempo patterns: nothing to play
      be32s({8, 0, 0}),
      {0x00, 0x00, 0xFF, 0xFF},
      channels,
  });
  const Converted c = convert(midi.bytes(), Target::Nintendo64);
  EXPECT_EQ(c.bytes, expected);
  EXPECT_NE(c.text.find("Initial BPM rate: 120,   Loop: 96 - 192\n"), std::string::npos);
}

TEST(N64Song, WritesATempoTableOnlyForTwoOrMoreTempoEvents) {
  for (int tempos : {1, 2}) {
    MidiBuilder midi(1, 96);
    auto& conductor = midi.track().tempo(0, 500000);
    if (tempos == 2) conductor.tempo(48, 250000);
    conductor.end();
    midi.track().on(0, 0, 60, 100).off(10, 0, 60).end();
    const Bytes song = convert(midi.bytes(), Target::Dolphin).bytes;
    ASSERT_GT(song.size(), 100u);
    const uint32_t tempoTable = common::loadU32(&song[12], common::Endian::Big);
    if (tempos == 1) {
      EXPECT_EQ(tempoTable, 0u);
      EXPECT_EQ(common::loadU32(&song[8], common::Endian::Big), song.size() - 64);
    } else {
      EXPECT_EQ(tempoTable, song.size() - 20);
      EXPECT_EQ(Bytes(song.end() - 20, song.end()), be32s({0, 120, 192, 240, 0xFFFFFFFF}));
    }
    // Sequence without loop: the last entry's time and marker 0xFFFF.
    EXPECT_EQ(Bytes(song.begin() + 292, song.begin() + 304), Bytes({0, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0}));
  }
}

TEST(N64Song, TheHeaderWordDependsOnTheReleaseAndTheLoopSections) {
  MidiBuilder midi(1, 96);
  midi.track().tempo(0, 1).end();  // 60000000 BPM, more than 24 bits
  midi.track()
      .on(0, 0, 60, 100)
      .off(10, 0, 60)
      .control(10, 0, 102, 0)
      .on(0, 0, 61, 1)
      .off(10, 0, 61)
      .control(10, 0, 103, 0)
      .end();
  midi.track()
      .on(0, 1, 60, 100)
      .off(10, 1, 60)
      .control(10, 1, 102, 0)
      .on(0, 1, 61, 1)
      .off(20, 1, 61)
      .control(20, 1, 103, 0)
      .end();
  // Several loop sections: Dolphin only.
  const Bytes dolphin = convert(midi.bytes(), Target::Dolphin).bytes;
  ASSERT_GT(dolphin.size(), 400u);
  EXPECT_EQ(common::loadU32(&dolphin[0], common::Endian::Big), 88u);
  EXPECT_EQ(common::loadU32(&dolphin[16], common::Endian::Big), 0x80000000u | (60000000u & 0xFFFFFF));
  EXPECT_EQ(common::loadU32(&dolphin[20], common::Endian::Big), 80u);  // channel 0 loop start: tick 20
  EXPECT_EQ(common::loadU32(&dolphin[24], common::Endian::Big), 80u);  // channel 1 loop start: tick 20
  EXPECT_EQ(common::loadU32(&dolphin[28], common::Endian::Big), 0u);
  EXPECT_EQ(common::loadU32(&dolphin[84], common::Endian::Big), common::loadU32(&dolphin[8], common::Endian::Big));
  EXPECT_EQ(common::loadU32(&dolphin[88], common::Endian::Big), 0u);    // track 0: tempo only
  EXPECT_EQ(common::loadU32(&dolphin[92], common::Endian::Big), 344u);  // 88 + 256
  // Track 2 (channel 1): loop end at tick 60.
  EXPECT_EQ(Bytes(dolphin.begin() + 404, dolphin.begin() + 416),
            Bytes({0, 0, 0, 240, 0xFF, 0xFF, 0, 0, 0xFF, 0xFE, 0, 1}));

  MidiBuilder single(1, 96);
  single.track().tempo(0, 1).end();
  single.track().on(0, 0, 60, 100).off(10, 0, 60).end();
  const Bytes current = convert(single.bytes(), Target::Nintendo64).bytes;
  const Bytes old = convert(single.bytes(), Target::Nintendo64, kRelease129g).bytes;
  EXPECT_EQ(common::loadU32(&current[16], common::Endian::Big), 60000000u & 0xFFFFFF);
  EXPECT_EQ(common::loadU32(&old[16], common::Endian::Big), 60000000u);
  // The little-endian layout holds the same fields in the other byte order.
  const Bytes little = convert(single.bytes(), Target::Nintendo64, kCurrentRelease, common::Endian::Little).bytes;
  ASSERT_EQ(little.size(), current.size());
  EXPECT_EQ(common::loadU32(&little[16], common::Endian::Little), 60000000u & 0xFFFFFF);
  EXPECT_EQ(common::loadU32(&little[8], common::Endian::Little), common::loadU32(&current[8], common::Endian::Big));
}

TEST(N64Song, RefusesMoreThan64Tracks) {
  MidiBuilder midi(1, 96);
  for (int i = 0; i < 65; ++i) midi.track().on(0, 0, 60, 100).off(1, 0, 60).end();
  for (const ReleaseProfile* release : {&kCurrentRelease, &kRelease129g}) {
    Capture capture(Target::Nintendo64, *release);
    MidiImage image;
    SongArrangement song;
    ASSERT_EQ(capture.read(midi.bytes(), image), 0);
    ASSERT_EQ(arrangeSong(image, song, 64, capture.run), 0);
    EXPECT_FALSE(encodeN64Song(song, image, common::Endian::Big, capture.run).has_value());
    const std::string message = release == &kCurrentRelease
                                    ? "*** 32-bit format does not support more than 64 tracks.\n"
                                    : "*** Nintendo 64 format does not support more than 64 tracks.\n";
    EXPECT_NE(capture.text().find(message), std::string::npos);
  }
}

TEST(Curve, EncodesTimeAndValueSteps) {
  struct Case {
    std::vector<CurvePoint> points;
    uint16_t initial;
    Bytes bytes;
  };
  const std::vector<Case> cases = {
      {{{0, 8192}, {10, 8292}}, 8192, {0x00, 0x00, 0x0A, 0x80, 0x64, 0x80, 0x00}},
      {{{5, 62}, {6, 65534}}, 0, {0x05, 0x3E, 0x01, 0xFF, 0xC0, 0x80, 0x00}},  // +62, then -64
      {{{0, 0}, {0, 10}, {0, 20}}, 0, {0x00, 0x00, 0x00, 0x14, 0x80, 0x00}},   // middle point on the same time skipped
      {{{0x7F, 1}, {0x7F + 0x80, 2}}, 0, {0x7F, 0x01, 0x80, 0x80, 0x01, 0x80, 0x00}},
      {{{0x10000, 0}}, 0, {0xFF, 0xFF, 0x00, 0xFF, 0xFF, 0x00, 0x02, 0x00, 0x80, 0x00}},
  };
  for (const Case& c : cases) {
    common::ByteWriter w(common::Endian::Big);
    writeCurve(w, c.points, c.initial);
    EXPECT_EQ(w.data(), c.bytes);
  }
}

TEST(Curve, MergesModulationPointsOnOneTimeAndKeepsAtMost65536Points) {
  Curve modulation(Curve::SameTime::Merge);
  modulation.add(5, 3 * 128);
  modulation.add(5, 7);
  modulation.add(6, 1);
  ASSERT_EQ(modulation.points().size(), 2u);
  EXPECT_EQ(modulation.points()[0].value, 3 * 128 + 7);
  Curve bend(Curve::SameTime::Separate);
  for (uint32_t i = 0; i < 70000; ++i) bend.add(i / 2, uint16_t(i));
  EXPECT_EQ(bend.points().size(), 65536u);
  EXPECT_EQ(bend.points().back().value, 65535);
}

TEST(SongClock, RoundsTheFactorToSinglePrecisionExceptForTheExactTimes) {
  struct Case {
    uint32_t units;
    uint32_t ticksPerBeat;
    uint64_t ticks;
    uint32_t rounded;
    uint32_t exact;
  };
  const std::vector<Case> cases = {
      {24, 100, 100, 23, 24},  // 24/100 as a float lies just below 0.24
      {24, 96, 96, 24, 24},
      {24, 96, 48, 12, 12},
      {96, 96, 70000, 70000, 70000},
      {384, 96, 0xFFFFFFFF, uint32_t(0xFFFFFFFFull * 4), uint32_t(0xFFFFFFFFull * 4)},  // kept to 32 bits
      {384, 0, 1000, 0, 0},
  };
  for (const Case& c : cases) {
    const SongClock clock(c.units, c.ticksPerBeat);
    EXPECT_EQ(clock.units(c.ticks), c.rounded) << c.units << "/" << c.ticksPerBeat << " " << c.ticks;
    EXPECT_EQ(clock.exactUnits(c.ticks), c.exact) << c.units << "/" << c.ticksPerBeat << " " << c.ticks;
  }
}

TEST(GameBoySong, UsesTheExactFactorForLoopEndsAndProgramTimes) {
  MidiBuilder midi(0, 100);
  midi.track().control(0, 0, 102, 0).on(0, 0, 60, 100).off(10, 0, 60).program(90, 0, 3).control(0, 0, 103, 0).end();
  const Bytes expected = {
      0x00, 0x06, 0x00, 0x18, 0x00, 0x78, 0x00, 0x0E, 0x00, 0x00, 0x00, 0x00,
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x18, 0xFE, 0x00, 0x00, 0x00, 0x00,   // loop end: unit 24, not 23
      0x00, 0x1A, 0xD0, 0x00, 0x3C, 0x02, 0x00, 0x18, 0x83, 0xF0, 0x00, 0xFF};  // program at unit 24
  EXPECT_EQ(convert(midi.bytes(), Target::GameBoy).bytes, expected);
}

TEST(SongWriters, ReplaceTheSongFileOnlyWhenTheWholeFileIsWritten) {
  const testing_support::TempDir dir;
  const std::filesystem::path& folder = dir.path();
  const auto path = folder / "a.song";
  MidiBuilder midi(1, 96);
  for (int i = 0; i < 65; ++i) midi.track().on(0, 0, 60, 100).off(1, 0, 60).end();
  Capture capture(Target::Nintendo64);
  MidiImage image;
  SongArrangement song;
  ASSERT_EQ(capture.read(midi.bytes(), image), 0);
  ASSERT_EQ(arrangeSong(image, song, 64, capture.run), 0);
  { std::ofstream(path) << "old"; }
  EXPECT_EQ(writeN64Song(path, song, image, common::Endian::Big, capture.run), -1);
  EXPECT_EQ(writeGameBoySong(folder / "missing" / "a.song", song, 96, common::Endian::Big, capture.run), -1);
  EXPECT_EQ(writeAdvanceSong(folder, song, 96, common::Endian::Little, capture.run), -1);  // a folder
  std::ifstream in(path);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "old");
  EXPECT_NE(capture.text().find("*** Could not write destination file.\n*** Could not write destination file.\n"),
            std::string::npos);
  EXPECT_EQ(dir.files(), std::vector<std::string>{"a.song"});
}

TEST(AdvanceSong, ADeltaThatRoundingMakesNegativeCountsAsZero) {
  // 96/100 as a float lies below 0.96: tick 100 is unit 95 for a note but
  // unit 96 for controller 104 (exact factor), so the note comes 1 unit early.
  MidiBuilder midi(0, 100);
  midi.track().on(0, 0, 50, 100).off(10, 0, 50).control(90, 0, 104, 1).on(0, 0, 60, 100).off(10, 0, 60).end();
  const Bytes song = convert(midi.bytes(), Target::Advance).bytes;
  ASSERT_GE(song.size(), 20u);
  EXPECT_EQ(Bytes(song.end() - 20, song.end()),
            Bytes({0x00, 0x00, 0x64, 0x32, 0x09, 0x00,  // 9 units
                   0x60, 0x00, 0x00, 0x81,              // unit 96
                   0x00, 0x00, 0x64, 0x3C, 0x0A, 0x00,  // delta 0, not 65535 fillers
                   0xFF, 0xFF, 0xFF, 0xFF}));
}
