// The export script reader: reads one exported sound project (samples, sound
// macros, keymaps, layers, tables, song groups with their MIDI setups and
// program pages, sound-effect groups) into the project model, renumbering
// every ID through the ID maps of its script index.
#pragma once

#include <string>

namespace voconv {

class Conversion;

// Reads the export script `fileName` (found through the project base paths)
// as script `scriptIndex` (0 to 3). Before the first script of a run, for
// targets other than the handheld ones, reads the macro definition file
// "macrodef.vqd". Prints its failure message and returns false on failure;
// what was entered before the failing line stays in the model. Throws
// FatalError when the IDs run out.
bool readExportScript(Conversion& conversion, const std::string& fileName, int scriptIndex);

// Reads script text already in memory; `name` is the file named in messages.
bool parseExportScript(Conversion& conversion, std::string text, const std::string& name, int scriptIndex);

}  // namespace voconv
