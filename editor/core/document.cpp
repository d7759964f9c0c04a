#include "document.h"

#include "common/file_io.h"
#include "common/output.h"
#include "common/paths.h"
#include "qtd_format.h"

namespace vtq {

std::string messageForFile(const char* message, const std::filesystem::path& path) {
  std::string text = message;
  const size_t at = text.find("%1");
  if (at != std::string::npos) text.replace(at, 2, common::displayPath(path));
  return text;
}

std::string CQuorlinVTQEditorDoc::title() const {
  return path_.empty() ? std::string("Untitled") : path_.filename().string();
}

std::string CQuorlinVTQEditorDoc::baseName() const {
  const std::string name = title();
  return name.substr(0, name.find('.'));
}

void CQuorlinVTQEditorDoc::setSampleRate(int32_t rate) {
  if (rate == sampleRate_) return;
  sampleRate_ = rate;
  modified_ = true;
}

void CQuorlinVTQEditorDoc::adoptCommands() {
  for (const auto& command : commands_) command->setDocument(this);
}

bool CQuorlinVTQEditorDoc::newDocument(const std::filesystem::path& path, DocumentError& error) {
  // The empty document is written first, so that a failed write leaves the
  // current document (and its commands) as they were.
  std::string reason;
  if (!common::replaceFile(path, writeQtd(CCmdArray{}, 44100), reason)) {
    error = {kFailedToSave, reason};
    return false;
  }
  path_ = path;
  commands_.clear();
  sampleRate_ = 44100;
  modified_ = false;
  return true;
}

bool CQuorlinVTQEditorDoc::openDocument(const std::filesystem::path& path, DocumentError& error) {
  std::vector<uint8_t> bytes;
  std::string reason;
  // A document named on the command line may be a pipe.
  if (!common::readStream(path, bytes, reason)) {
    error = {kFailedToOpen, reason};
    return false;
  }
  QtdContent content;
  ArchiveError archiveError;
  if (!readQtd(bytes, content, archiveError)) {
    const char* message = archiveError.kind == ArchiveErrorKind::Schema             ? kIncorrectSchema
                          : archiveError.kind == ArchiveErrorKind::UnexpectedObject ? kUnexpectedObject
                                                                                    : kUnexpectedFileFormat;
    error = {messageForFile(message, path),
             common::format("%s at byte %zu: %s", common::displayPath(path).c_str(), archiveError.offset,
                            archiveError.detail.c_str())};
    return false;
  }
  path_ = path;
  commands_ = std::move(content.commands);
  sampleRate_ = content.sampleRate;
  modified_ = false;
  adoptCommands();
  return true;
}

bool CQuorlinVTQEditorDoc::saveDocument(DocumentError& error) {
  std::string reason;
  if (!common::replaceFile(path_, writeQtd(commands_, sampleRate_), reason)) {
    error = {kFailedToSave, reason};
    return false;
  }
  modified_ = false;
  adoptCommands();
  return true;
}

bool CQuorlinVTQEditorDoc::saveDocumentAs(const std::filesystem::path& path, DocumentError& error) {
  const std::filesystem::path previous = path_;
  path_ = path;
  if (saveDocument(error)) return true;
  path_ = previous;
  return false;
}

size_t CQuorlinVTQEditorDoc::insertIndexFor(CSMPTETime insertTime) const {
  size_t index = 0;
  while (index < commands_.size() && commands_.at(index)->insertTime() < insertTime) ++index;
  return index;
}

bool CQuorlinVTQEditorDoc::conflictsAt(size_t index, const CCommand& command) const {
  // One second of transmission per transmission; response times play no part.
  const CSMPTETime start = command.insertTime();
  if (const CCommand* next = commands_.at(index)) {
    if (next->insertTime() < start + command.TransmissionLength() || next->insertTime() == start) return true;
  }
  if (index > 0) {
    const CCommand& previous = *commands_.at(index - 1);
    if (start < previous.insertTime() + previous.TransmissionLength()) return true;
  }
  return false;
}

InsertOutcome CQuorlinVTQEditorDoc::InsertCommand(std::unique_ptr<CCommand> command, CommandPrompts& prompts) {
  command->setDocument(this);
  for (;;) {
    if (!prompts.editCommand(*command)) return InsertOutcome::Cancelled;
    const size_t index = insertIndexFor(command->insertTime());
    if (conflictsAt(index, *command)) {
      const ConflictChoice choice = prompts.conflict(kConflictWarning);
      if (choice == ConflictChoice::Abort) return InsertOutcome::Aborted;
      if (choice == ConflictChoice::Retry) continue;
    }
    // The wave file is written only for a command that goes into the list, so
    // that an aborted command never replaces the wave file of the command it
    // collides with (both are named after the insert time).
    std::string error;
    if (!command->MakeWave(error)) {
      if (prompts.waveFailed(error)) continue;
      return InsertOutcome::WaveFailed;
    }
    commands_.insertAt(index, std::move(command));
    return InsertOutcome::Inserted;
  }
}

std::unique_ptr<CCommand> CQuorlinVTQEditorDoc::proposeNewCommand() {
  if (commands_.empty()) return std::make_unique<CCommand>(this);
  const CCommand& last = commands_.last();
  auto command = std::make_unique<CCommand>(last);
  command->Advance(last.TransmissionLength());
  return command;
}

InsertOutcome CQuorlinVTQEditorDoc::CommandNew(CommandPrompts& prompts) {
  const InsertOutcome outcome = InsertCommand(proposeNewCommand(), prompts);
  modified_ = true;
  return outcome;
}

std::optional<InsertOutcome> CQuorlinVTQEditorDoc::CommandEdit(size_t index, CommandPrompts& prompts) {
  if (index >= commands_.size()) return std::nullopt;
  std::unique_ptr<CCommand> original = commands_.takeAt(index);
  const InsertOutcome outcome = InsertCommand(std::make_unique<CCommand>(*original), prompts);
  if (outcome == InsertOutcome::Inserted) {
    modified_ = true;
  } else {
    commands_.insertAt(index, std::move(original));
  }
  return outcome;
}

bool CQuorlinVTQEditorDoc::CommandDelete(size_t index) {
  if (index >= commands_.size()) return false;
  commands_.takeAt(index);
  modified_ = true;
  return true;
}

}  // namespace vtq
