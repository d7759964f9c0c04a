#include <gtest/gtest.h>

#include "core/smpte_time.h"
#include "core/time_code_editing.h"

using vtq::CSMPTETime;

namespace {

CSMPTETime tc(uint32_t h, uint32_t m, uint32_t s, uint32_t f) { return CSMPTETime(h, m, s, f); }

}  // namespace

TEST(SMPTETime, FieldsAndTextOfFrameCounts) {
  struct Case {
    uint32_t frames;
    int h, m, s, f;
    const char* text;
    const char* digits;
  };
  const Case cases[] = {
      {0, 0, 0, 0, 0, "00:00:00:00", "00000000"},
      {24, 0, 0, 0, 24, "00:00:00:24", "00000024"},
      {25, 0, 0, 1, 0, "00:00:01:00", "00000100"},
      {1500, 0, 1, 0, 0, "00:01:00:00", "00010000"},
      {90000 + 3000 + 75 + 24, 1, 2, 3, 24, "01:02:03:24", "01020324"},
      {2159999, 23, 59, 59, 24, "23:59:59:24", "23595924"},
      {2160000, 0, 0, 0, 0, "00:00:00:00", "00000000"},  // one day wraps
      {2160000 + 26, 0, 0, 1, 1, "00:00:01:01", "00000101"},
  };
  for (const Case& c : cases) {
    const CSMPTETime t(c.frames);
    EXPECT_EQ(t.hours(), c.h) << c.frames;
    EXPECT_EQ(t.minutes(), c.m) << c.frames;
    EXPECT_EQ(t.seconds(), c.s) << c.frames;
    EXPECT_EQ(t.frames(), c.f) << c.frames;
    EXPECT_EQ(t.text(), c.text);
    EXPECT_EQ(t.digits(), c.digits);
  }
}

TEST(SMPTETime, FieldConstructorWrapsEachFieldWithoutCarry) {
  EXPECT_EQ(tc(25, 61, 61, 26).text(), "01:01:01:01");
  EXPECT_EQ(tc(0, 75, 0, 0).text(), "00:15:00:00");
  EXPECT_EQ(tc(0, 0, 59, 25).text(), "00:00:59:00");  // frames do not carry into seconds
  EXPECT_EQ(tc(0, 1, 0, 0).frameCount(), 1500);
  EXPECT_EQ(tc(1, 0, 0, 0).frameCount(), 90000);
}

TEST(SMPTETime, ModularSumAndDifference) {
  struct Case {
    CSMPTETime a, b;
    int32_t sum, difference;
  };
  const Case cases[] = {
      {tc(23, 59, 59, 24), CSMPTETime(1), 0, 2159998},
      {tc(0, 0, 1, 0), tc(0, 0, 2, 0), 75, 2159975},  // a later b: close to 24 h
      {tc(0, 0, 2, 0), tc(0, 0, 1, 0), 75, 25},
      {tc(0, 0, 10, 0), tc(0, 0, 10, 0), 500, 0},  // a - a = 0
      {tc(12, 0, 0, 0), tc(12, 0, 0, 0), 0, 0},    // half a day twice wraps to 0
  };
  for (const Case& c : cases) {
    EXPECT_EQ((c.a + c.b).frameCount(), c.sum) << c.a.text() << " + " << c.b.text();
    EXPECT_EQ((c.a - c.b).frameCount(), c.difference) << c.a.text() << " - " << c.b.text();
    CSMPTETime inPlace = c.a;
    inPlace += c.b;
    EXPECT_EQ(inPlace, c.a + c.b);
  }
  EXPECT_EQ((tc(0, 0, 1, 0) - tc(0, 0, 2, 0)).text(), "23:59:59:00");
}

TEST(SMPTETime, ComparisonsAndSetFrames) {
  EXPECT_LT(tc(0, 0, 1, 24), tc(0, 0, 2, 0));
  EXPECT_GT(tc(1, 0, 0, 0), tc(0, 59, 59, 24));
  EXPECT_GE(tc(0, 0, 2, 0), tc(0, 0, 2, 0));
  EXPECT_EQ(tc(0, 0, 2, 0), CSMPTETime(50));
  CSMPTETime t = tc(1, 2, 3, 4);
  t.setFrames(20);
  EXPECT_EQ(t.text(), "01:02:03:20");
  t.setFrames(27);  // f mod 25
  EXPECT_EQ(t.text(), "01:02:03:02");
}

TEST(SMPTETime, ReadsTextLikeTheTimeFields) {
  const std::pair<const char*, const char*> cases[] = {
      {"01:02:03:04", "01:02:03:04"},
      {"00:90:00:00", "00:30:00:00"},  // 90 minutes wrap to 30
      {"25:00:00:00", "01:00:00:00"},
      {"00:00:00:26", "00:00:00:01"},
      {"1:2:3:4", "01:02:03:04"},
      {"12", "12:00:00:00"},  // missing fields count as 0
      {"", "00:00:00:00"},
      {"123:00:00:00", "12:00:00:00"},  // two digits at most, then scanning stops
      {"ab:cd", "00:00:00:00"},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(CSMPTETime::fromText(text).text(), expected) << text;
}

TEST(TimeCodeField, UpAndDownStepTheFieldAtTheCaret) {
  using vtq::stepTimeCodeField;
  struct Case {
    const char* start;
    size_t caret;
    int direction;
    const char* result;
  };
  const Case cases[] = {
      {"00:00:00:00", 0, -1, "23:00:00:00"},  {"00:00:00:00", 2, +1, "01:00:00:00"},
      {"23:30:00:00", 1, +1, "00:30:00:00"},  {"00:59:00:00", 3, +1, "01:00:00:00"},
      {"00:00:00:00", 5, -1, "23:59:00:00"},  {"00:00:59:00", 6, +1, "00:01:00:00"},
      {"00:00:01:00", 8, -1, "00:00:00:00"},  {"00:00:00:24", 9, +1, "00:00:01:00"},
      {"00:00:00:00", 11, -1, "23:59:59:24"},
  };
  for (const Case& c : cases) {
    const auto after = stepTimeCodeField({CSMPTETime::fromText(c.start), c.caret}, c.direction);
    EXPECT_EQ(after.value.text(), c.result) << c.start << " at " << c.caret;
    EXPECT_EQ(after.caret, c.caret);
  }
}

TEST(TimeCodeField, TypingOverwritesDigitsAndKeepsTheShape) {
  using vtq::typeIntoTimeCodeField;
  struct Case {
    const char* start;
    size_t caret;
    char typed;
    const char* result;  // nullptr: ignored
    size_t caretAfter;
  };
  const Case cases[] = {
      {"00:00:00:00", 3, '9', "00:30:00:00", 4},  // 90 minutes wrap to 30
      {"00:00:00:00", 0, '1', "10:00:00:00", 1},
      {"00:00:00:00", 2, '5', "00:50:00:00", 4},  // before a colon: the next digit
      {"00:00:00:00", 10, '7', "00:00:00:07", 11},
      {"00:00:00:00", 9, '3', "00:00:00:05", 10},  // 30 frames wrap to 5
      {"00:00:00:00", 0, '3', "06:00:00:00", 1},   // 30 hours wrap to 6
      {"00:00:00:00", 11, '1', nullptr, 0},
      {"00:00:00:00", 4, 'x', nullptr, 0},
  };
  for (const Case& c : cases) {
    const auto after = typeIntoTimeCodeField({CSMPTETime::fromText(c.start), c.caret}, c.typed);
    if (c.result == nullptr) {
      EXPECT_FALSE(after.has_value()) << c.caret << " " << c.typed;
      continue;
    }
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(after->value.text(), c.result) << c.caret << " " << c.typed;
    EXPECT_EQ(after->caret, c.caretAfter);
  }
}
