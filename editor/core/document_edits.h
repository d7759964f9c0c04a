// Changes to a document's command list, shared by the window (its list, its
// undo stack and its timeline) and the batch mode.
//
// Commands are named by their serial (CCommand::serial()), a number each
// command gets when it is loaded into or made part of a document and keeps
// while it is there; it is never stored in the file. Rows change with every
// reorder, serials do not, so an undo step or a selection that outlives other
// changes holds serials.
//
// Every operation checks everything first and either changes nothing (and says
// why) or makes the whole change. Each row step is announced to the document's
// observer (DocumentObserver) around the step, so a list model reports inserts,
// removals and moves as such.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "command.h"
#include "smpte_time.h"

namespace vtq {

class CQuorlinVTQEditorDoc;

using CommandSerial = uint64_t;

// Whether an overlapping transmission stops the change (the default) or is
// accepted (the user chose Ignore, or --ignore-conflict).
enum class ConflictPolicy { Refuse, Ignore };

enum class EditStatus {
  Done,        // the change was made
  NotFound,    // a serial names no command of the document
  OutOfRange,  // an insert or response time would leave 00:00:00:00..23:59:59:24
  Conflict,    // a transmission would overlap another (only under ConflictPolicy::Refuse)
};

// The first overlapping pair a change would make: `moved` is a command of the
// change, `other` the one it overlaps (serials; 0 for a command not yet in the
// document, identified then by its index in the request).
struct ConflictPair {
  CommandSerial moved = 0;
  CommandSerial other = 0;
  CSMPTETime movedTime;
  CSMPTETime otherTime;
  std::string otherName;  // the command name of `other` (COMMAND_STRING)
  std::string movedName;  // the command name of `moved`
  // For a command not yet in the document: its index in the request (else npos).
  size_t requestIndex = static_cast<size_t>(-1);
};

struct EditResult {
  EditStatus status = EditStatus::Done;
  ConflictPair conflict;               // set with EditStatus::Conflict
  CommandSerial offending = 0;         // the command whose time is out of range / not found
  std::vector<CommandSerial> serials;  // the commands the change made, moved or replaced, in request order
  explicit operator bool() const { return status == EditStatus::Done; }
};

// Inserts `commands` in insert-time order (each before every command of the
// same time or later, as New does; commands of the request with equal times
// keep their request order). Each gets a serial; the result lists them in
// request order.
EditResult insertCommands(CQuorlinVTQEditorDoc& document, std::vector<std::unique_ptr<CCommand>> commands,
                          ConflictPolicy policy);

// Takes the named commands out of the document and hands them back in
// list order (their serials kept, so that an undo re-inserts the same
// identities with insertRemoved). Wave files are never deleted.
struct RemovedCommands {
  EditStatus status = EditStatus::Done;
  std::vector<std::unique_ptr<CCommand>> commands;
  std::vector<size_t> rows;     // the row each had, ascending (for insertRemoved)
  CommandSerial offending = 0;  // with NotFound: the serial that names no command
};
RemovedCommands removeCommands(CQuorlinVTQEditorDoc& document, const std::vector<CommandSerial>& serials);

// Puts commands taken out by removeCommands (or replaceCommand) back, keeping
// their serials. Never refuses for a conflict: they were in the list before.
EditResult insertRemoved(CQuorlinVTQEditorDoc& document, std::vector<std::unique_ptr<CCommand>> commands);
// The same, putting each back at the row it had (`rows` as removeCommands gave
// them, the document as the removal left it), so that commands of equal times
// and documents not sorted by time come back exactly as they were.
EditResult insertRemoved(CQuorlinVTQEditorDoc& document, std::vector<std::unique_ptr<CCommand>> commands,
                         const std::vector<size_t>& rows);

// Replaces the command `serial` by `replacement`, which takes over the serial
// and goes to its insert-time place. The old command is handed back through
// `previous` (for undo). The conflict check ignores the replaced command.
EditResult replaceCommand(CQuorlinVTQEditorDoc& document, CommandSerial serial, std::unique_ptr<CCommand> replacement,
                          ConflictPolicy policy, std::unique_ptr<CCommand>* previous = nullptr);

// Moves the named commands by `frames` (negative: earlier); a timed command
// keeps its response offset. Refuses (OutOfRange) when an insert or response
// time would leave the day; the conflict check looks at the list as it would
// be after the whole move. Two moved commands keep their spacing, so an
// overlap between them is not new and does not count; the moved commands keep
// their order among themselves.
EditResult moveCommands(CQuorlinVTQEditorDoc& document, const std::vector<CommandSerial>& serials, int64_t frames,
                        ConflictPolicy policy);

// The first conflict the list has between the named commands and their
// neighbours as it stands (for a report after an Ignore). Empty serials: any.
bool findConflict(const CQuorlinVTQEditorDoc& document, const std::vector<CommandSerial>& serials, ConflictPair& pair);

// Whether inserting `command`, or replacing the command `serial` by it, would
// overlap a neighbour's transmission; `pair` (optional) names the first pair.
bool insertWouldConflict(const CQuorlinVTQEditorDoc& document, const CCommand& command, ConflictPair* pair = nullptr);
bool replaceWouldConflict(const CQuorlinVTQEditorDoc& document, CommandSerial serial, const CCommand& replacement,
                          ConflictPair* pair = nullptr);

// Writes the wave files of the named commands again from the commands (under
// the names their times give). Returns the messages of the files that could
// not be written; the others are written all the same.
std::vector<std::string> writeWaveFiles(CQuorlinVTQEditorDoc& document, const std::vector<CommandSerial>& serials);

}  // namespace vtq
