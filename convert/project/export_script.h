// The export script parse: turns the text of one exported sound project
// (samples, sound macros, keymaps, layers, tables, song groups with their
// MIDI setups and program pages, sound-effect groups) into its script model.
// It reads nothing but the text and renumbers nothing; the merge
// (script_merge.h) does that.
#pragma once

#include <string>

#include "convert/project/script_model.h"

namespace voconv {

// The model of the script `text`; `name` is the file named in messages. A
// line that cannot be read ends the model with its failure step.
ScriptModel parseExportScript(std::string text, const std::string& name);

}  // namespace voconv
