// The first half of a handheld conversion: the target object list is loaded,
// the samples are converted, the macros compiled, and everything the layouts
// place is collected in index order.
#pragma once

#include <optional>

#include "convert/targets/handheld/handheld_project.h"

namespace voconv {

class Conversion;

enum class HandheldTarget { GameBoy, SlaveRom, Advance };

// Prints every failure's message and returns nothing on the first one. The
// slave ROM reads no song files and builds no MIDI setups.
std::optional<HandheldProject> prepareHandheldProject(Conversion& c, HandheldTarget target);

}  // namespace voconv
