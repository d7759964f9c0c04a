// The first half of a handheld conversion: the target object list is loaded,
// the samples are converted, the macros compiled, and everything the layouts
// place is collected in index order.
#pragma once

#include <optional>

#include "convert/compile/compile_target.h"
#include "convert/targets/handheld/handheld_project.h"

namespace voconv {

class Conversion;

// What the project step takes from the target's descriptor.
struct HandheldBuild {
  CompileTarget compileTarget;  // the command set of the macros and the form of the samples
  // Whether the target makes songs; without (the slave ROM) no song files
  // are read and no MIDI setups built.
  bool songs;
};

// Prints every failure's message and returns nothing on the first one.
std::optional<HandheldProject> prepareHandheldProject(Conversion& c, const HandheldBuild& build);

}  // namespace voconv
