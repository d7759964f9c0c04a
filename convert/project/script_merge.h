// The merge of a script model into the project model: replays the script's
// steps in order, renumbering every ID through the ID maps of its script
// index, taking the keymap and layer files the loading read, and starting
// the song tool for each new MIDI setup where its first channel line stands.
#pragma once

#include "common/output.h"
#include "convert/foundation/id_tables.h"
#include "convert/project/project_model.h"
#include "convert/project/script_files.h"
#include "convert/project/script_model.h"
#include "convert/tools/midi_setups.h"
#include "convert/tools/song_conversion.h"

namespace voconv {

// The merged project the scripts of one run are merged into.
struct MergeTarget {
  ProjectModel& model;
  IdTables& ids;
  MidiSetupRegistry& midiSetups;
};

// Merges `script` as script `scriptIndex` (0 to 3). Prints what each step
// prints (verbose lines only when `verbose`) and returns false at a failure
// step or a file that could not be read; what came before the failing step
// stays merged. Throws FatalError when the IDs run out.
bool mergeScript(const ScriptModel& script, const ScriptFiles& files, int scriptIndex, MergeTarget target,
                 SongRuns& songs, common::Output& out, bool verbose);

}  // namespace voconv
