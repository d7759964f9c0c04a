// Step conversion from the Game Boy to the Game Boy Advance command set. The
// expected steps are worked out by hand from the command tables of the two
// drivers; the parameter bytes 0x11..0x77 make every moved byte visible.
#include <gtest/gtest.h>

#include "macrolift/macro_steps.h"

namespace {

using macrolift::ConversionResult;
using macrolift::convertMacroSteps;
using macrolift::MacroStep;

MacroStep gb(uint8_t command) { return {command, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}; }

struct Row {
  MacroStep in;
  std::vector<MacroStep> out;
};

std::string hex(const std::vector<MacroStep>& steps) {
  std::string s;
  char buf[4];
  for (const auto& step : steps) {
    for (uint8_t b : step) {
      std::snprintf(buf, sizeof buf, "%02X ", b);
      s += buf;
    }
    s += "| ";
  }
  return s;
}

ConversionResult convert(std::vector<MacroStep>& steps) { return convertMacroSteps(steps); }

}  // namespace

TEST(MacroliftSteps, ConvertsEveryCommandOfTheGameBoySet) {
  const std::vector<Row> rows = {
      {gb(0), {{0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}}},
      {gb(1), {{0x01, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}}},
      {gb(2), {{0x05, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}}},
      {gb(3), {{0x06, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}}},
      {gb(4), {{0x39, 1, 1, 1, 1, 0, 0, 0}}},
      {gb(5), {{0x03, 0, 0, 0, 0x44, 0x55, 0x66, 0}}},
      {gb(6), {{0x04, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}}},
      {gb(7), {{0x02, 0x11, 0x22, 0x00, 0x44, 0x55, 0x66, 0x77}}},
      {gb(8), {{0x09, 0x22, 0x33, 0, 0, 0, 0x11, 0x44}}},
      {gb(10), {{0x38, 1, 1, 1, 1, 1, 1, 1}}},
      {gb(11), {{0x16, 0x00, 0, 0, 0, 0, 0x55, 0x44}}},
      {{11, 0x11, 0x22, 0x33, 0x44, 0x00, 0x66, 0x77}, {{0x16, 0x11, 0, 0, 0, 0, 0x00, 0x44}}},
      {gb(12), {{0x22, 0x11, 0x22, 0x00, 0x44, 0x55, 0x66, 0x77}}},
      {gb(13), {{0x21, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}}},
      {gb(14), {{0x20, 0x11, 0x00, 0x00, 0x44, 0x55, 0x66, 0x77}}},
      {gb(15), {{0x23, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}}},
      {gb(17), {{0x11, 0x00, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}}},
      {gb(18), {{0x0B, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}}},
      {gb(19), {{0x07, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}}},
      {gb(20), {{0x17, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}, {0x10, 0x01, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}}},
      {gb(21), {{0x18, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}}},
      {gb(22), {{0x37, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}}},
      {gb(23), {{0x32, 0x11, 0x22, 0x33, 0x00, 0x44, 0x55, 0x00}}},
      {gb(24), {{0x31, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}}},
      {gb(25), {{0x30, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}}},
      {gb(26), {{0x33, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}}},
      {gb(27), {{0x36, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}}},
      {gb(28), {{0x34, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}}},
      {gb(29), {{0x35, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}}},
      {gb(30), {{0x24, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}}},
      {gb(35), {{0x45, 0x01, 0x11, 0x33, 0x44, 0x55, 0x66, 0x77}}},
      {gb(36), {{0x40, 0x11, 0x22, 0, 0, 0, 0, 0}}},
      {gb(37), {{0x46, 0x00, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}}},
      {gb(38), {{0x12, 0x11, 0x22, 0, 0, 0, 0, 0}, {0x10, 1, 0, 0, 0, 0, 0, 0}}},
      {gb(39), {{0x41, 0x11, 0x00, 0x33, 0x44, 0x55, 0x66, 0x77}}},
      {{39, 0x91, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}, {{0x41, 0x00, 0x00, 0x33, 0x44, 0x55, 0x66, 0x77}}},
      {{39, 0x91, 0x00, 0x33, 0x44, 0x55, 0x66, 0x77}, {{0x42, 0x91, 0x00, 0x33, 0x44, 0x55, 0x66, 0x77}}},
      {gb(40), {{0x0D, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}}},
      {gb(41), {{0x0E, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}}},
  };
  for (const Row& row : rows) {
    std::vector<MacroStep> steps = {row.in};
    EXPECT_EQ(convert(steps), ConversionResult::Converted) << "command " << int(row.in[0]);
    EXPECT_EQ(hex(steps), hex(row.out)) << "command " << int(row.in[0]);
  }
}

TEST(MacroliftSteps, CommandsWithoutCounterpartCannotBeConverted) {
  for (int command : {9, 16, 31, 32, 33, 34, 42, 43, 0x80, 0xFF}) {
    std::vector<MacroStep> steps = {gb(7), gb(uint8_t(command)), gb(0)};
    EXPECT_EQ(convert(steps), ConversionResult::CannotConvert) << command;
  }
  // Steps after END are converted too, so an unknown one there counts.
  std::vector<MacroStep> afterEnd = {gb(7), MacroStep{}, gb(9)};
  EXPECT_EQ(convert(afterEnd), ConversionResult::CannotConvert);
}

TEST(MacroliftSteps, LoopTargetMovesByTheStepsInsertedBeforeIt) {
  struct Case {
    std::vector<MacroStep> in;
    size_t loopIndex;
    uint8_t low, high;
  };
  const MacroStep loopTo0 = {5, 0, 0, 0, 0x00, 0x00, 3, 0};
  const MacroStep loopTo255 = {5, 0, 0, 0, 0xFF, 0x00, 3, 0};
  const MacroStep loopTo0x01FF = {5, 0, 0, 0, 0xFF, 0x01, 3, 0};
  const MacroStep loopToFFFF = {5, 0, 0, 0, 0xFF, 0xFF, 3, 0};
  const std::vector<Case> cases = {
      {{gb(20), loopTo0, {}}, 2, 0x01, 0x00},                      // three steps before the loop; target 1
      {{gb(20), loopTo255, {}}, 2, 0x00, 0x01},                    // 255 + 1 carries into the high byte
      {{gb(38), gb(7), gb(20), loopTo0x01FF, {}}, 5, 0x01, 0x02},  // two inserted: 0x01FF + 2
      {{gb(20), loopToFFFF, {}}, 2, 0x00, 0x00},                   // the 16-bit sum wraps
      {{loopTo255, gb(20), {}}, 0, 0xFF, 0x00},                    // inserted after the loop: unchanged
      {{gb(7), loopTo255, {}}, 1, 0xFF, 0x00},                     // nothing inserted
  };
  for (const Case& c : cases) {
    std::vector<MacroStep> steps = c.in;
    EXPECT_EQ(convert(steps), ConversionResult::Converted);
    ASSERT_GT(steps.size(), c.loopIndex);
    const MacroStep& loop = steps[c.loopIndex];
    EXPECT_EQ(loop[0], 0x03);
    EXPECT_EQ(loop[4], c.low) << hex(steps);
    EXPECT_EQ(loop[5], c.high) << hex(steps);
    EXPECT_EQ(loop[6], 3);
  }
}

TEST(MacroliftSteps, BranchingMacrosWithInsertedStepsArePossiblyOk) {
  struct Case {
    std::vector<MacroStep> in;
    ConversionResult result;
  };
  const std::vector<Case> cases = {
      {{gb(6), gb(38), {}}, ConversionResult::PossiblyOk},  // GOTO, then a step that becomes two
      {{gb(6), {}}, ConversionResult::Converted},           // the same without it
      {{gb(38), {}}, ConversionResult::Converted},          // inserted, but nothing branches
      {{gb(20), gb(2), {}}, ConversionResult::PossiblyOk},  // SPLIT_KEY after the insertion
      {{gb(3), gb(20)}, ConversionResult::PossiblyOk},      // SPLIT_VEL
      {{gb(19), gb(20)}, ConversionResult::PossiblyOk},     // SPLIT_RND
      {{gb(5), gb(20)}, ConversionResult::Converted},       // LOOP targets are moved, so it is no problem
      {{gb(6), gb(38), gb(9)}, ConversionResult::CannotConvert},
      {{}, ConversionResult::Converted},  // an empty macro
  };
  for (const Case& c : cases) {
    std::vector<MacroStep> steps = c.in;
    EXPECT_EQ(convert(steps), c.result) << hex(c.in);
  }
}

TEST(MacroliftSteps, WaitAndEndMacro) {
  std::vector<MacroStep> steps = {{7, 1, 0, 1, 0, 0, 0xE8, 0x03}, {}};
  EXPECT_EQ(convert(steps), ConversionResult::Converted);
  EXPECT_EQ(hex(steps), hex({{0x02, 1, 0, 0, 0, 0, 0xE8, 0x03}, {}}));
}

TEST(MacroliftSteps, WholeStepsOnlyAreRead) {
  std::vector<uint8_t> bytes = {7, 1, 2, 3, 4, 5, 6, 7, 0, 0, 0, 0, 0, 0, 0, 0, 9, 9, 9};
  const auto steps = macrolift::stepsFromBytes(bytes);
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0][7], 7);
  bytes.resize(16);
  EXPECT_EQ(macrolift::bytesFromSteps(steps), bytes);
  EXPECT_TRUE(macrolift::stepsFromBytes(std::vector<uint8_t>(7, 1)).empty());
}
