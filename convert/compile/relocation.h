// Step references that can only be resolved once the compiled macros are
// laid out: a jump forward within a macro, or into another macro.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "common/output.h"

namespace voconv {

class MacroCompilation;

// Patch widths that a relocation may name.
constexpr uint8_t kRelocation8Bit = 1;
constexpr uint8_t kRelocation16Bit = 2;
constexpr uint8_t kRelocation32Bit = 4;  // the only one the advance compiler makes

struct Relocation {
  int macro = 0;             // index of the referencing macro
  uint32_t patch = 0;        // patch position inside the referencing macro
  uint8_t stepDistance = 0;  // advance: patch minus the referencing step's first byte (2)
  int targetMacro = 0;
  uint16_t targetStep = 0;
  uint8_t width = 0;  // advance: kRelocation32Bit; Game Boy: kRelocation16Bit
};

// Game Boy Advance: `macroOffsets[i]` is the file offset of macro i's first
// compiled byte (behind its four attribute bytes). Writes, little-endian at
// the patch, the distance from the referencing step to the target step.
// Checks each record in list order (newest first); false after
// "**** ERROR: Illegal macro target step reference found! Cannot convert!\n"
// or "*** ERROR: Unhandled macro relocation code!\n". Widths 1 and 2 only warn.
bool applyAdvanceRelocations(const MacroCompilation& compiled, std::span<const uint32_t> macroOffsets,
                             std::span<uint8_t> file, common::Output& out);

// Game Boy: `macroStarts[i]` is macro i's start offset counted from the
// start of the macro area, which `macroArea` holds. Writes the target step's
// offset from the area start, big-endian at the patch. A target step past the
// target macro's END fails like the advance check.
bool applyGameBoyRelocations(const MacroCompilation& compiled, std::span<const uint16_t> macroStarts,
                             std::span<uint8_t> macroArea, common::Output& out);

}  // namespace voconv
