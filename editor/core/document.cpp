#include "document.h"

#include "common/file_io.h"
#include "common/output.h"
#include "common/paths.h"
#include "document_edits.h"
#include "program_name.h"
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
  for (const auto& command : commands_) {
    command->setDocument(this);
    if (command->serial() == 0) command->setSerial(nextSerial_++);
  }
}

void CQuorlinVTQEditorDoc::replaceAll(CCmdArray commands) {
  if (observer_) observer_->aboutToReset();
  commands_ = std::move(commands);
  adoptCommands();
  if (observer_) observer_->reset();
}

size_t CQuorlinVTQEditorDoc::rowOf(uint64_t serial) const {
  for (size_t row = 0; row < commands_.size(); ++row) {
    if (commands_.at(row)->serial() == serial) return row;
  }
  return std::string::npos;
}

CCommand* CQuorlinVTQEditorDoc::commandBySerial(uint64_t serial) const {
  const size_t row = rowOf(serial);
  return row == std::string::npos ? nullptr : commands_.at(row);
}

void CQuorlinVTQEditorDoc::insertRow(size_t row, std::unique_ptr<CCommand> command) {
  command->setDocument(this);
  if (command->serial() == 0) command->setSerial(nextSerial_++);
  if (observer_) observer_->aboutToInsert(row);
  commands_.insertAt(row, std::move(command));
  modified_ = true;
  if (observer_) observer_->inserted(row);
}

std::unique_ptr<CCommand> CQuorlinVTQEditorDoc::takeRow(size_t row) {
  if (observer_) observer_->aboutToRemove(row);
  auto command = commands_.takeAt(row);
  modified_ = true;
  if (observer_) observer_->removed(row);
  return command;
}

void CQuorlinVTQEditorDoc::moveRow(size_t from, size_t to) {
  if (from == to) {
    rowChanged(from);
    return;
  }
  if (observer_) observer_->aboutToMove(from, to);
  auto command = commands_.takeAt(from);
  commands_.insertAt(to, std::move(command));
  modified_ = true;
  if (observer_) observer_->moved(from, to);
}

void CQuorlinVTQEditorDoc::rowChanged(size_t row) {
  modified_ = true;
  if (observer_) observer_->changed(row);
}

bool CQuorlinVTQEditorDoc::newDocument(const std::filesystem::path& path, DocumentError& error) {
  // The empty document is written first, so that a failed write leaves the
  // current document (and its commands) as they were.
  std::string reason;
  if (!common::replaceFile(kProgramName, path, writeQtd(CCmdArray{}, 44100), reason)) {
    error = {kFailedToSave, reason};
    return false;
  }
  path_ = path;
  replaceAll(CCmdArray{});
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
  return load(path, bytes, error);
}

bool CQuorlinVTQEditorDoc::restoreDocument(const std::filesystem::path& path, std::span<const uint8_t> qtd,
                                           DocumentError& error) {
  if (!load(path, qtd, error)) return false;
  modified_ = true;
  return true;
}

bool CQuorlinVTQEditorDoc::load(const std::filesystem::path& path, std::span<const uint8_t> bytes,
                                DocumentError& error) {
  QtdContent content;
  ArchiveError archiveError;
  if (!readQtd(bytes, content, archiveError)) {
    const char* message = archiveError.kind == ArchiveErrorKind::Schema             ? kIncorrectSchema
                          : archiveError.kind == ArchiveErrorKind::UnexpectedObject ? kUnexpectedObject
                                                                                    : kUnexpectedFileFormat;
    error = {messageForFile(message, path), common::format("%s at byte %zu: %s", common::displayPath(path).c_str(),
                                                           archiveError.offset, archiveError.detail.c_str())};
    return false;
  }
  path_ = path;
  replaceAll(std::move(content.commands));
  sampleRate_ = content.sampleRate;
  modified_ = false;
  return true;
}

bool CQuorlinVTQEditorDoc::saveDocument(DocumentError& error) {
  std::string reason;
  if (!common::replaceFile(kProgramName, path_, writeQtd(commands_, sampleRate_), reason)) {
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
    insertRow(index, std::move(command));
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
  // Only an inserted command changes the document; a cancelled New does not.
  return InsertCommand(proposeNewCommand(), prompts);
}

std::optional<InsertOutcome> CQuorlinVTQEditorDoc::CommandEdit(size_t index, CommandPrompts& prompts) {
  if (index >= commands_.size()) return std::nullopt;
  // The original stays in the list while the dialog is open; the edited copy
  // replaces it, keeping its identity, only once it is confirmed and its wave
  // file is written.
  const CCommand& original = *commands_.at(index);
  auto command = std::make_unique<CCommand>(original);
  command->setDocument(this);
  for (;;) {
    if (!prompts.editCommand(*command)) return InsertOutcome::Cancelled;
    if (replaceWouldConflict(*this, original.serial(), *command)) {
      const ConflictChoice choice = prompts.conflict(kConflictWarning);
      if (choice == ConflictChoice::Abort) return InsertOutcome::Aborted;
      if (choice == ConflictChoice::Retry) continue;
    }
    std::string error;
    if (!command->MakeWave(error)) {
      if (prompts.waveFailed(error)) continue;
      return InsertOutcome::WaveFailed;
    }
    replaceCommand(*this, original.serial(), std::move(command), ConflictPolicy::Ignore);
    return InsertOutcome::Inserted;
  }
}

bool CQuorlinVTQEditorDoc::CommandDelete(size_t index) {
  if (index >= commands_.size()) return false;
  takeRow(index);
  return true;
}

}  // namespace vtq
