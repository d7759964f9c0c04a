// The Game Boy compiler (also the slave ROM's): source steps of 8 bytes
// into steps of 1 to 6 bytes with big-endian values, 16-bit step references
// and one keymap macro per project.
#pragma once

#include "common/output.h"

namespace voconv {

class MacroCompilation;

// Compiles macro `macroIndex` of `compilation`; false when it cannot be
// converted (an error text is printed where one exists).
bool compileHandheldMacro(MacroCompilation& compilation, int macroIndex, common::Output& out);

}  // namespace voconv
