// The Game Boy Advance compiler: source steps of 8 bytes into steps of 2 to
// 10 bytes with little-endian values and 32-bit step references.
#pragma once

#include "common/output.h"

namespace voconv {

class MacroCompilation;

// Compiles macro `macroIndex` of `compilation`; false when it cannot be
// converted (its error text is printed).
bool compileAdvanceMacro(MacroCompilation& compilation, int macroIndex, common::Output& out);

}  // namespace voconv
