// The first half of a handheld conversion: the target object list is loaded,
// the samples are converted, the macros compiled, and everything the layouts
// place is collected in index order.
#pragma once

#include <optional>

#include "convert/compile/compile_target.h"
#include "convert/targets/handheld/handheld_project.h"

namespace voconv {

class Conversion;

// Prints every failure's message and returns nothing on the first one.
// Without `songs` (the slave ROM) no song files are read and no MIDI setups
// built.
std::optional<HandheldProject> prepareHandheldProject(Conversion& c, CompileTarget target, bool songs);

}  // namespace voconv
