// Reading one export script of a run, phase by phase: its text, the parse
// into a script model, the loading of the keymap and layer files it names,
// and the merge into the conversion's project (which starts the song tool
// for each new MIDI setup).
#pragma once

#include <string>

#include "convert/tools/song_conversion.h"

namespace voconv {

class Conversion;

// What the run's target and options make of the song tools.
// The songs a handheld target consumes are made in `privateFolder`; the
// Nintendo 64's are outputs and the slave ROM makes none.
SongToolSettings songToolSettings(const Conversion& conversion, SongFolder* privateFolder = nullptr);

// Reads the export script `fileName` (found through the project base paths,
// and possibly a pipe) as script `scriptIndex` (0 to 3). Prints its failure
// message and returns false on failure; what was merged before the failing
// line stays in the project. Throws FatalError when the IDs run out.
bool readExportScript(Conversion& conversion, SongRuns& songs, const std::string& fileName, int scriptIndex);

// The same on script text already in memory; `name` is the file named in
// messages.
bool readExportScriptText(Conversion& conversion, SongRuns& songs, std::string text, const std::string& name,
                          int scriptIndex);

}  // namespace voconv
