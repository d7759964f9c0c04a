// Translation of a sound macro's steps from the Game Boy command set to the
// Game Boy Advance command set.
//
// A macro file is a plain array of 8-byte steps: byte 0 is the command
// number, bytes 1 to 7 its parameters, multi-byte values little-endian.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

namespace macrolift {

inline constexpr size_t kStepSize = 8;
using MacroStep = std::array<uint8_t, kStepSize>;

enum class ConversionResult {
  Converted,
  // Steps were inserted into a macro that branches by step number: its
  // split and goto targets were not moved and may point at the wrong step.
  PossiblyOk,
  // A command without a Game Boy Advance counterpart.
  CannotConvert,
};

// Thrown when the step array cannot grow; the run ends at once.
class StepArrayGrowthError : public std::runtime_error {
 public:
  StepArrayGrowthError() : std::runtime_error("the macro step array cannot grow") {}
};

// The whole steps of a macro file; a remainder of fewer than 8 bytes is dropped.
std::vector<MacroStep> stepsFromBytes(std::span<const uint8_t> bytes);
std::vector<uint8_t> bytesFromSteps(std::span<const MacroStep> steps);

// Opens a new step slot directly after the last one and fills it.
// Throws StepArrayGrowthError when the memory cannot be had.
void insertStep(std::vector<MacroStep>& steps, const MacroStep& step);

// Rewrites every step, those after END included. On CannotConvert the steps
// are left in no particular state (the caller replaces the macro).
ConversionResult convertMacroSteps(std::vector<MacroStep>& steps);

}  // namespace macrolift
