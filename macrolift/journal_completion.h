// Putting a journal's files in place: the step that a run killed after
// writing its journal leaves for the next run.
#pragma once

#include <filesystem>

#include "common/output.h"
#include "run_journal.h"

namespace macrolift {

// Renames or rewrites every file the journal lists (a temporary file that is
// gone was put in place already), syncs them, removes the old definition
// files, and then removes the journal, or, for a run that stopped on an
// error, leaves the record of the macros it converted. Every step may be
// repeated: a run killed in the middle of this completes it the next time.
// Failures are printed on `console`; false when a file could not be put in
// place (the journal then stays for the next run).
bool completeJournal(const std::filesystem::path& root, const RunJournal& journal, common::Output& console);

}  // namespace macrolift
