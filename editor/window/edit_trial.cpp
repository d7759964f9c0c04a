#include "edit_trial.h"

#include "core/document.h"

namespace vtq {
namespace {

// A document of copies of `document`'s commands, in the same rows and under
// the same serials, with no observer.
void copyList(const CQuorlinVTQEditorDoc& document, CQuorlinVTQEditorDoc& copy) {
  for (const auto& command : document.commands()) {
    std::unique_ptr<CCommand> twin = command->cloneWhole();
    twin->setSerial(command->serial());
    copy.insertRow(copy.commandCount(), std::move(twin));
  }
}

}  // namespace

EditResult tryMove(const CQuorlinVTQEditorDoc& document, const std::vector<CommandSerial>& serials, int64_t frames) {
  CQuorlinVTQEditorDoc copy;
  copyList(document, copy);
  return moveCommands(copy, serials, frames, ConflictPolicy::Refuse);
}

EditResult tryInsert(const CQuorlinVTQEditorDoc& document, const std::vector<std::unique_ptr<CCommand>>& commands) {
  CQuorlinVTQEditorDoc copy;
  copyList(document, copy);
  std::vector<std::unique_ptr<CCommand>> twins;
  for (const auto& command : commands) twins.push_back(command->cloneWhole());
  return insertCommands(copy, std::move(twins), ConflictPolicy::Refuse);
}

}  // namespace vtq
