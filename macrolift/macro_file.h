// Conversion of one sound macro file in place.
#pragma once

#include <filesystem>
#include <string>

#include "run_context.h"

namespace macrolift {

// Reads the macro at `path`, converts its steps, reports the outcome under
// `name` and writes the result back (a macro that cannot be converted becomes
// a single END step). False when the file cannot be read or replaced; the
// file is then as it was. Only a regular file is opened: a pipe, socket or
// device (`regular` false) counts as a macro that cannot be opened.
bool convertMacroFile(MacroLiftRun& run, const std::filesystem::path& path, const std::string& name, bool regular);

}  // namespace macrolift
