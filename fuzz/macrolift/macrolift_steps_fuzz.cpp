// Feeds arbitrary bytes to the macro step conversion as a macro file and
// checks what must hold for every macro: a converted macro has one step per
// Game Boy step plus one for each step that becomes two, and only Game Boy
// Advance command numbers.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "macrolift/macro_steps.h"

namespace {

bool isAdvanceCommand(uint8_t c) {
  return c <= 0x0E || (c >= 0x10 && c <= 0x18) || (c >= 0x20 && c <= 0x24) || (c >= 0x30 && c <= 0x39) ||
         (c >= 0x40 && c <= 0x46);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace macrolift;
  const std::vector<MacroStep> original = stepsFromBytes(std::span<const uint8_t>(data, size));
  if (original.size() != size / kStepSize) std::abort();
  std::vector<MacroStep> steps = original;
  const ConversionResult result = convertMacroSteps(steps);
  if (result == ConversionResult::CannotConvert) return 0;
  size_t expected = original.size();
  bool branches = false;
  for (const MacroStep& s : original) {
    if (s[0] == 20 || s[0] == 38) ++expected;
    if (s[0] == 2 || s[0] == 3 || s[0] == 6 || s[0] == 19) branches = true;
  }
  if (steps.size() != expected) std::abort();
  for (const MacroStep& s : steps) {
    if (!isAdvanceCommand(s[0])) std::abort();
  }
  const bool possiblyOk = branches && expected > original.size();
  if ((result == ConversionResult::PossiblyOk) != possiblyOk) std::abort();
  if (bytesFromSteps(steps).size() != steps.size() * kStepSize) std::abort();
  return 0;
}
