#include "macro_steps.h"

#include <new>
#include <optional>

#include "common/byte_order.h"

namespace macrolift {
namespace {

using common::Endian;

// Game Boy command number -> Game Boy Advance command number; -1 where the
// Game Boy Advance driver has no counterpart. Command 39 becomes 0x41 or
// 0x42 depending on its parameters (see rewriteParameters).
constexpr std::array<int, 42> kAdvanceCommand = {
    0x00, 0x01, 0x05, 0x06, 0x39, 0x03, 0x04, 0x02, 0x09, -1,   0x38, 0x16, 0x22, 0x21,
    0x20, 0x23, -1,   0x11, 0x0B, 0x07, 0x17, 0x18, 0x37, 0x32, 0x31, 0x30, 0x33, 0x36,
    0x34, 0x35, 0x24, -1,   -1,   -1,   -1,   0x45, 0x40, 0x46, 0x12, 0x41, 0x0D, 0x0E,
};

// Game Boy commands that branch to a step number (split by key, velocity or
// random, and goto): their targets are not moved when steps are inserted.
constexpr bool branchesByStepNumber(uint8_t command) {
  return command == 2 || command == 3 || command == 6 || command == 19;
}

struct Walk {
  uint16_t inserted = 0;  // steps inserted so far (the sum wraps like the step field)
  bool branches = false;
};

// Sets the parameter bytes of the converted step `d` from the Game Boy step `s`.
void rewriteParameters(const MacroStep& s, MacroStep& d, const Walk& walk) {
  switch (s[0]) {
    case 4:  // RESET_MOD of vibrato, portamento and both sweeps
      d = {0x39, 1, 1, 1, 1, 0, 0, 0};
      break;
    case 5: {  // LOOP: the target moves up by the steps inserted before the loop
      const uint16_t target = uint16_t(common::loadU16(&s[4], Endian::Little) + walk.inserted);
      d = {0x03, 0, 0, 0, 0, 0, s[6], 0};
      common::storeU16(&d[4], target, Endian::Little);
      break;
    }
    case 7:
    case 12: d[3] = 0; break;
    case 8: d = {0x09, s[2], s[3], 0, 0, 0, s[1], s[4]}; break;
    case 10: d = {0x38, 1, 1, 1, 1, 1, 1, 1}; break;
    case 11: d = {0x16, uint8_t(s[5] != 0 ? 0 : s[1]), 0, 0, 0, 0, s[5], s[4]}; break;
    case 14: d[2] = d[3] = 0; break;
    case 17:
    case 37: d[1] = 0; break;
    case 23: d = {0x32, s[1], s[2], s[3], 0, s[4], s[5], 0}; break;
    case 35:
      d[1] = 1;
      d[2] = s[1];
      break;
    case 36: d[3] = d[4] = d[5] = d[6] = d[7] = 0; break;
    case 38: d = {0x12, s[1], s[2], 0, 0, 0, 0, 0}; break;
    case 39:
      if (s[2] == 0) {
        d[0] = 0x42;  // ADD_PRIORITY, bytes as they stand
      } else {
        d[2] = 0;
        if (s[1] & 0x80) d[1] = 0;
      }
      break;
    default: break;
  }
}

// The step that follows the converted one for the commands that become two.
std::optional<MacroStep> secondStep(const MacroStep& s) {
  if (s[0] == 20) return MacroStep{0x10, 1, s[2], s[3], s[4], s[5], s[6], s[7]};  // VOICE_ON
  if (s[0] == 38) return MacroStep{0x10, 1, 0, 0, 0, 0, 0, 0};                    // VOICE_ON
  return std::nullopt;
}

}  // namespace

std::vector<MacroStep> stepsFromBytes(std::span<const uint8_t> bytes) {
  std::vector<MacroStep> steps(bytes.size() / kStepSize);
  for (size_t i = 0; i < steps.size(); ++i) {
    for (size_t b = 0; b < kStepSize; ++b) steps[i][b] = bytes[i * kStepSize + b];
  }
  return steps;
}

std::vector<uint8_t> bytesFromSteps(std::span<const MacroStep> steps) {
  std::vector<uint8_t> bytes;
  bytes.reserve(steps.size() * kStepSize);
  for (const MacroStep& step : steps) bytes.insert(bytes.end(), step.begin(), step.end());
  return bytes;
}

void insertStep(std::vector<MacroStep>& steps, const MacroStep& step) {
  try {
    steps.push_back(step);
  } catch (const std::bad_alloc&) {
    throw StepArrayGrowthError();
  }
}

ConversionResult convertMacroSteps(std::vector<MacroStep>& steps) {
  // The converted steps are collected in a new array, so that inserting a
  // step costs no move of the steps behind it.
  std::vector<MacroStep> converted;
  try {
    converted.reserve(steps.size());
  } catch (const std::bad_alloc&) {
    throw StepArrayGrowthError();
  }
  Walk walk;
  for (const MacroStep& s : steps) {
    if (s[0] >= kAdvanceCommand.size() || kAdvanceCommand[s[0]] < 0) return ConversionResult::CannotConvert;
    MacroStep d = s;
    d[0] = uint8_t(kAdvanceCommand[s[0]]);
    rewriteParameters(s, d, walk);
    if (branchesByStepNumber(s[0])) walk.branches = true;
    insertStep(converted, d);
    if (const auto second = secondStep(s)) {
      insertStep(converted, *second);
      ++walk.inserted;
    }
  }
  const bool inserted = converted.size() > steps.size();
  steps.swap(converted);
  return walk.branches && inserted ? ConversionResult::PossiblyOk : ConversionResult::Converted;
}

}  // namespace macrolift
