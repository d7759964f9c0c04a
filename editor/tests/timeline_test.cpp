// The timeline's model: the film sound's header and start, the peak summary
// against peaks computed here from the samples written, the mapping between
// time codes and pixel columns at every zoom, and the check's marks.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "common/byte_order.h"
#include "common/testing/cli_run.h"
#include "core/check_marks.h"
#include "core/document.h"
#include "core/document_edits.h"
#include "core/film_sound.h"
#include "core/peak_summary.h"
#include "core/timeline_scale.h"

namespace vtq {
namespace {

struct WaveSpec {
  uint32_t rate = 48000;
  uint16_t channels = 2;
  uint16_t bits = 16;
  bool extensible = false;
  std::optional<uint64_t> timeReference;  // a bext chunk with it
  uint32_t bextSize = 602;                // the chunk's size (its fixed part and no history)
};

// A wave file written byte by byte from the format's rules.
std::vector<uint8_t> waveBytes(const WaveSpec& spec, const std::vector<int32_t>& samples) {
  common::ByteWriter w(common::Endian::Little);
  const uint16_t bytes = spec.bits / 8;
  const uint32_t dataSize = uint32_t(samples.size() * bytes);
  w.text("RIFF");
  w.u32(0);  // patched below
  w.text("WAVE");
  if (spec.timeReference) {
    w.text("bext");
    w.u32(spec.bextSize);
    std::vector<uint8_t> bext(spec.bextSize, 0);
    common::storeU32(&bext[338], uint32_t(*spec.timeReference), common::Endian::Little);
    if (spec.bextSize >= 346) common::storeU32(&bext[342], uint32_t(*spec.timeReference >> 32), common::Endian::Little);
    w.bytes(bext);
  }
  w.text("fmt ");
  w.u32(spec.extensible ? 40 : 16);
  w.u16(spec.extensible ? 0xFFFE : 1);
  w.u16(spec.channels);
  w.u32(spec.rate);
  w.u32(spec.rate * spec.channels * bytes);
  w.u16(uint16_t(spec.channels * bytes));
  w.u16(spec.bits);
  if (spec.extensible) {
    w.u16(22);
    w.u16(spec.bits);
    w.u32(0);
    const uint8_t guid[16] = {1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    w.bytes(guid);
  }
  w.text("data");
  w.u32(dataSize);
  for (const int32_t s : samples) {
    w.u8(uint8_t(s));
    w.u8(uint8_t(s >> 8));
    if (bytes == 3) w.u8(uint8_t(s >> 16));
  }
  w.patchU32(4, uint32_t(w.size() - 8));
  return w.take();
}

std::vector<int32_t> randomSamples(size_t count, uint16_t bits, uint32_t seed) {
  std::mt19937 random(seed);
  const int32_t top = (1 << (bits - 1)) - 1;
  std::uniform_int_distribution<int32_t> value(-top - 1, top);
  std::vector<int32_t> samples(count);
  for (int32_t& s : samples) s = value(random);
  return samples;
}

TEST(FilmSound, StartsAtTheBextTimeReferenceElseAtZero) {
  struct Case {
    uint32_t rate;
    std::optional<uint64_t> reference;
    uint32_t bextSize;
    const char* start;
  } cases[] = {
      {48000, std::nullopt, 602, "00:00:00:00"},
      {48000, 48000ull * 36002 + 1920 * 5, 602, "10:00:02:05"},
      {44100, 44100ull * 60 + 1763, 602, "00:01:00:00"},  // one sample short of a frame rounds down
      {44100, 44100ull * 60 + 1764, 602, "00:01:00:01"},
      {48000, 48000ull * 3600 * 25, 602, "01:00:00:00"},  // past midnight wraps
      {48000, 48000ull * 60, 340, "00:00:00:00"},         // too short to hold the reference
  };
  testing_support::TempDir dir;
  for (const Case& c : cases) {
    WaveSpec spec;
    spec.rate = c.rate;
    spec.timeReference = c.reference;
    spec.bextSize = c.bextSize;
    dir.write("start.wav", waveBytes(spec, randomSamples(200, 16, 1)));
    FilmSound sound;
    ASSERT_TRUE(sound.open(dir / "start.wav")) << sound.error();
    EXPECT_EQ(filmSoundStart(sound.format()).text(), c.start) << c.start;
    EXPECT_EQ(sound.format().frameCount, 100u);
  }
}

TEST(FilmSound, RefusesWhatItCannotShowNamingTheFile) {
  testing_support::TempDir dir;
  WaveSpec spec;
  spec.rate = 32000;
  dir.write("slow.wav", waveBytes(spec, randomSamples(20, 16, 2)));
  dir.write("text.wav", std::string("not a wave file at all"));
  for (const char* name : {"slow.wav", "text.wav", "absent.wav"}) {
    FilmSound sound;
    EXPECT_FALSE(sound.open(dir / name));
    EXPECT_NE(sound.error().find(name), std::string::npos) << sound.error();
  }
}

// The peaks of frames [a, b) computed directly from the samples written.
PeakPair directPeaks(const std::vector<int32_t>& samples, uint16_t channels, ChannelChoice channel, uint64_t a,
                     uint64_t b) {
  PeakPair pair{INT32_MAX, INT32_MIN};
  for (uint64_t f = a; f < b; ++f) {
    int32_t value = 0;
    for (uint16_t c = 0; c < channels; ++c) {
      if (!channel || *channel == c) value += samples[f * channels + c];
    }
    pair.min = std::min(pair.min, value);
    pair.max = std::max(pair.max, value);
  }
  return pair;
}

TEST(PeakSummary, MatchesPeaksComputedFromTheSamplesAtEveryZoom) {
  struct Case {
    uint16_t bits, channels;
    bool extensible;
    ChannelChoice channel;
  } cases[] = {{24, 2, false, std::nullopt},
               {16, 6, true, std::nullopt},
               {16, 6, true, uint16_t(4)},
               {24, 6, true, uint16_t(0)}};
  constexpr uint64_t kFrames = 200000 + 77;  // the last bin is a part bin
  testing_support::TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bits << " bits, " << c.channels << " channels");
    WaveSpec spec{48000, c.channels, c.bits, c.extensible, std::nullopt};
    const std::vector<int32_t> samples = randomSamples(kFrames * c.channels, c.bits, c.bits + c.channels);
    dir.write("peaks.wav", waveBytes(spec, samples));
    FilmSound sound;
    ASSERT_TRUE(sound.open(dir / "peaks.wav")) << sound.error();
    PeakSummary summary(sound.format().frameCount);
    const std::atomic<bool> cancel{false};
    summary.build(sound, c.channel, cancel);
    ASSERT_TRUE(summary.complete());
    for (const double perColumn : {3.5, 100.0, 256.0, 512.0, 700.0, 4096.0, 50000.0}) {
      std::vector<ColumnPeaks> columns(40);
      const double first = perColumn * 7;
      columnPeaks(summary, sound, c.channel, first, perColumn, columns);
      size_t level = 0;
      while (double(PeakSummary::binFrames(level + 1)) <= perColumn) ++level;
      const uint64_t bin = perColumn < PeakSummary::kBaseBin ? 1 : PeakSummary::binFrames(level);
      for (size_t i = 0; i < columns.size(); ++i) {
        const uint64_t a = std::min<uint64_t>(uint64_t(first + i * perColumn), kFrames);
        const uint64_t b = std::min<uint64_t>(uint64_t(first + (i + 1) * perColumn), kFrames);
        if (a >= b) continue;
        ASSERT_TRUE(columns[i].found);
        const PeakPair exact = directPeaks(samples, c.channels, c.channel, a, b);
        if (a % bin == 0 && (b % bin == 0 || b == kFrames)) {
          EXPECT_EQ(columns[i].peaks.min, exact.min) << perColumn << " column " << i;
          EXPECT_EQ(columns[i].peaks.max, exact.max) << perColumn << " column " << i;
        } else {
          // Within one bin: covers the column, never reaches past its bins.
          const PeakPair wide =
              directPeaks(samples, c.channels, c.channel, a / bin * bin, std::min(kFrames, (b + bin - 1) / bin * bin));
          EXPECT_LE(columns[i].peaks.min, exact.min);
          EXPECT_GE(columns[i].peaks.max, exact.max);
          EXPECT_GE(columns[i].peaks.min, wide.min);
          EXPECT_LE(columns[i].peaks.max, wide.max);
        }
      }
    }
  }
}

TEST(TimelineScale, TimeCodesAndColumnsMapBothWaysAtEveryZoom) {
  for (const uint32_t rate : {44100u, 48000u}) {
    const CSMPTETime start(0, 59, 58, 0);
    const uint64_t twoHours = uint64_t(rate) * 7200;
    TimelineScale scale(rate, start, twoHours, 1000);
    const std::vector<double>& ladder = scale.zoomLadder();
    ASSERT_GT(ladder.size(), 10u);
    EXPECT_DOUBLE_EQ(ladder.front() * TimelineScale::kFrameColumnsAtFinest, scale.samplesPerFilmFrame());
    EXPECT_DOUBLE_EQ(ladder.back() * 1000, double(twoHours));  // the whole film across the width
    for (size_t zoom = 0; zoom < ladder.size(); ++zoom) {
      scale.setZoom(zoom, 0);
      scale.setFirstFrame(double(rate) * 1800 + 123.25);
      const double columnsPerFrame = scale.samplesPerFilmFrame() / scale.framesPerPixel();
      for (const CSMPTETime time : {CSMPTETime(1, 0, 0, 0), CSMPTETime(1, 29, 59, 24), CSMPTETime(1, 30, 0, 1)}) {
        const double x = scale.xForTime(time);
        EXPECT_NEAR(scale.xForTime(time + CSMPTETime(1)) - x, columnsPerFrame, 1e-6);
        // The frame's first column, and its last one when it has several, give the time back.
        EXPECT_EQ(scale.timeForX(x), time) << "zoom " << zoom << " " << time.text();
        if (columnsPerFrame >= 2) {
          EXPECT_EQ(scale.timeForX(x + columnsPerFrame - 1), time);
        }
      }
      // A drag snaps to whole frames: 1.4 frames is 1, 1.6 is 2, either way.
      EXPECT_EQ(scale.framesForDrag(1.4 * columnsPerFrame), 1);
      EXPECT_EQ(scale.framesForDrag(-1.6 * columnsPerFrame), -2);
    }
    EXPECT_EQ(scale.timeForX(scale.xForSample(0)), start);
  }
}

TEST(TimelineScale, ScrollingStaysWithinTheSoundAndZoomKeepsTheAnchor) {
  TimelineScale scale(48000, CSMPTETime(), 48000 * 600, 800);
  scale.setZoom(10, 0);
  scale.setFirstFrame(-50);
  EXPECT_EQ(scale.firstFrame(), 0);
  scale.setFirstFrame(1e12);
  EXPECT_DOUBLE_EQ(scale.firstFrame(), 48000.0 * 600 - 800 * scale.framesPerPixel());
  scale.setFirstFrame(48000 * 300);
  const double anchored = scale.sampleForX(321);
  scale.setZoom(5, 321);
  EXPECT_NEAR(scale.sampleForX(321), anchored, 1e-6);
}

// Without a rate there is no finest step to grow from: one zoom, the whole view.
TEST(TimelineScale, ARateOfZeroHasTheWholeViewAsItsOnlyZoom) {
  const TimelineScale scale(0, CSMPTETime(), 1000, 100);
  ASSERT_EQ(scale.zoomLadder().size(), 1u);
  EXPECT_DOUBLE_EQ(scale.zoomLadder().front(), 10.0);
}

TEST(CheckMarks, FollowTheRecordsAndGreyWhenTheirCommandChanges) {
  testing_support::TempDir dir;
  CQuorlinVTQEditorDoc document;
  DocumentError error;
  ASSERT_TRUE(document.newDocument(dir / "marks.qtd", error));
  std::vector<std::unique_ptr<CCommand>> commands;
  for (const uint32_t seconds : {2u, 10u}) {
    commands.push_back(std::make_unique<CCommand>(&document));
    commands.back()->MoveStart(CSMPTETime(0, 0, seconds, 0));
  }
  const EditResult added = insertCommands(document, std::move(commands), ConflictPolicy::Refuse);
  ASSERT_TRUE(added);

  CueCheckReport report;
  const auto record = [](CueState state, uint64_t serial, CSMPTETime at) {
    CueRecord r;
    r.state = state;
    r.commandSerial = serial;
    r.insertTime = at;
    r.foundTime = at;
    return r;
  };
  CueRecord onTime = record(CueState::Found, added.serials[0], CSMPTETime(50));
  onTime.marginDb = 18;
  onTime.byteCode = document.commandAt(0)->byteCodeText();
  CueRecord late = record(CueState::Found, added.serials[1], CSMPTETime(240));
  late.offsetFrames = 3;
  late.byteCode = document.commandAt(1)->byteCodeText();
  CueRecord damaged = record(CueState::Damaged, 7, CSMPTETime(500));
  damaged.failedCheck = "checksum";
  CueRecord unexpected = record(CueState::Unexpected, 0, CSMPTETime(900));
  unexpected.byteCode = "0x10";
  report.records = {onTime, late, damaged, record(CueState::Missing, 8, CSMPTETime(700)), unexpected};

  const std::vector<CheckMark> marks = marksFromReport(report);
  ASSERT_EQ(marks.size(), 5u);
  const struct {
    CheckMarkKind kind;
    uint32_t at, foundAt;
    const char* label;
  } expected[] = {{CheckMarkKind::OnTime, 50, 50, "margin 18 dB"},
                  {CheckMarkKind::OffTime, 240, 243, "+3"},
                  {CheckMarkKind::Damaged, 500, 500, "damaged: checksum"},
                  {CheckMarkKind::Missing, 700, 700, "missing"},
                  {CheckMarkKind::Unexpected, 900, 900, "unexpected 0x10"}};
  for (size_t i = 0; i < marks.size(); ++i) {
    EXPECT_EQ(marks[i].kind, expected[i].kind) << i;
    EXPECT_EQ(marks[i].at.frameCount(), int32_t(expected[i].at)) << i;
    EXPECT_EQ(marks[i].foundAt.frameCount(), int32_t(expected[i].foundAt)) << i;
    EXPECT_EQ(marks[i].label, expected[i].label) << i;
  }
  EXPECT_FALSE(markIsStale(marks[0], document));
  EXPECT_TRUE(markIsStale(marks[1], document));  // checked at frame 240, now at 00:00:10:00
  EXPECT_TRUE(markIsStale(marks[2], document));  // no command 7
  ASSERT_TRUE(moveCommands(document, {added.serials[0]}, 5, ConflictPolicy::Refuse));
  EXPECT_TRUE(markIsStale(marks[0], document));
  EXPECT_FALSE(markIsStale(marks[4], document));
}

}  // namespace
}  // namespace vtq
