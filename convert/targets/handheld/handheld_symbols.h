// The include lines of the handheld targets: one "SFXID_" line per effect
// with its place in the effect area, one "SONGID_" line per MIDI setup with
// its index. Names are written as the export script has them.
#pragma once

#include <string>

#include "convert/targets/handheld/handheld_project.h"

namespace voconv {

enum class SymbolForm { Assembler, C };

// An effect without a name is named after its ID ("FX00002"), so that every
// effect still gets a symbol of its own.
std::string effectSymbols(const HandheldProject& project, SymbolForm form);
std::string songSymbols(const HandheldProject& project, SymbolForm form);

}  // namespace voconv
