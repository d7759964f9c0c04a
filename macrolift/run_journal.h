// The journal that makes a run repeatable.
//
// Before the first file of a run is put in place, the run writes and syncs a
// journal in the folder it started in: every temporary file with the file it
// replaces, the old definition files to remove, the macros converted and the
// exit code the run ends with. A run killed at any point after that finds
// the journal and completes it instead of converting again (converting is not
// repeatable: a converted macro converted again changes).
//
// A run that stops on an error leaves, once its files are in place, a record
// of the macros it converted; the next run skips them (repeating what the
// record says of them in its report) and the record goes when a run
// completes.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "macro_steps.h"

namespace macrolift {

inline constexpr std::string_view kJournalFileName = ".macrolift-journal";

enum class JournalState {
  Pending,  // its files are to be put in place
  Stopped,  // a run that stopped on an error: only its converted macros count
};

enum class Placement {
  Rename,        // the temporary file is renamed over the target
  ThroughInode,  // the target is rewritten with the temporary file's bytes
};

struct JournalMove {
  Placement how = Placement::Rename;
  std::filesystem::path temp;
  std::filesystem::path target;
};

struct RunJournal {
  JournalState state = JournalState::Pending;
  int exitCode = 0;
  // Macros converted by this run or a stopped one before it, by their path
  // below the root ('/'-separated), with what the report said of them.
  std::map<std::string, ConversionResult> convertedMacros;
  std::vector<JournalMove> moves;
  std::vector<std::filesystem::path> removals;  // old definition files
};

// The journal's text. Paths are kept relative to `root`, so that a tree
// moved as a whole still completes.
std::string encodeJournal(const RunJournal& journal, const std::filesystem::path& root);
// False when the text is not a whole journal.
bool decodeJournal(std::string_view text, const std::filesystem::path& root, RunJournal& journal);

enum class JournalFound { None, Found, Unreadable };
JournalFound readJournal(const std::filesystem::path& root, RunJournal& journal, std::string& error);
// Writes the journal durably: a synced temporary file renamed into place, and
// the folder synced.
bool writeJournal(const std::filesystem::path& root, const RunJournal& journal, std::string& error);
// Removes the journal and syncs the folder.
bool removeJournal(const std::filesystem::path& root, std::string& error);

}  // namespace macrolift
