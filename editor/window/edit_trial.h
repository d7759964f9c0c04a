// Tries a change on a copy of the document's list before it is made, so that
// the window can ask its questions (a time out of the day, an overlap) first
// and then put the change onto the undo stack as one step that never asks.
#pragma once

#include <memory>
#include <vector>

#include "core/document_edits.h"

namespace vtq {

// What moveCommands would answer under ConflictPolicy::Refuse; the document
// stays as it is.
EditResult tryMove(const CQuorlinVTQEditorDoc& document, const std::vector<CommandSerial>& serials, int64_t frames);

// What insertCommands would answer for copies of `commands` under
// ConflictPolicy::Refuse; the document stays as it is.
EditResult tryInsert(const CQuorlinVTQEditorDoc& document, const std::vector<std::unique_ptr<CCommand>>& commands);

}  // namespace vtq
