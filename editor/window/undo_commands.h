// The window's undo steps: each wraps one operation of document_edits.h in a
// QUndoCommand. A step is pushed after the user has answered every question
// (conflicts are decided before), so redo never asks; undo and redo write the
// wave files of the commands they touch again from the commands (a wave file is
// never deleted) and report the files they could not write.
#pragma once

#include <QtGui/QUndoCommand>
#include <memory>
#include <string>
#include <vector>

#include "core/document_edits.h"
#include "wave_write_lock.h"

namespace vtq {

class CQuorlinVTQEditorDoc;

// What the steps work on: the document, and where failed wave files are told.
class UndoContext {
 public:
  virtual ~UndoContext() = default;
  virtual CQuorlinVTQEditorDoc& document() = 0;
  // The window's hold on the document's lock, taken while wave files are
  // written.
  virtual WaveWriteLock& waveLock() = 0;
  // The messages of wave files a step could not write; the step happened.
  virtual void waveFilesFailed(const std::vector<std::string>& messages) = 0;
  // After each redo and undo: the commands the step put in or changed (those
  // still in the document), so that a view can select them.
  virtual void commandsChanged(const std::vector<CommandSerial>& /*serials*/) {}
};

// New, Paste, Import: the commands go in (their wave files are written);
// undo takes them out again.
class InsertCommandsStep : public QUndoCommand {
 public:
  InsertCommandsStep(UndoContext& context, std::vector<std::unique_ptr<CCommand>> commands, const QString& text);
  void redo() override;
  void undo() override;
  // The serials the commands have in the document (after the first redo).
  const std::vector<CommandSerial>& serials() const { return serials_; }

 private:
  UndoContext& context_;
  std::vector<std::unique_ptr<CCommand>> held_;  // the commands while they are out
  std::vector<CommandSerial> serials_;
};

// Delete, Cut: the commands go out (wave files stay); undo puts them back.
class RemoveCommandsStep : public QUndoCommand {
 public:
  RemoveCommandsStep(UndoContext& context, std::vector<CommandSerial> serials, const QString& text);
  void redo() override;
  void undo() override;

 private:
  UndoContext& context_;
  std::vector<CommandSerial> serials_;
  std::vector<std::unique_ptr<CCommand>> held_;
  std::vector<size_t> rows_;  // the rows the commands had
};

// Edit: the command `serial` is replaced by `replacement`; undo brings the
// old one back. Both keep the serial.
class ReplaceCommandStep : public QUndoCommand {
 public:
  ReplaceCommandStep(UndoContext& context, CommandSerial serial, std::unique_ptr<CCommand> replacement,
                     const QString& text);
  void redo() override;
  void undo() override;

 private:
  void swap();
  UndoContext& context_;
  CommandSerial serial_;
  std::unique_ptr<CCommand> other_;  // the command not in the document
};

// Shift Times, the timeline's drag and nudge: the commands move by `frames`.
class MoveCommandsStep : public QUndoCommand {
 public:
  MoveCommandsStep(UndoContext& context, std::vector<CommandSerial> serials, int64_t frames, const QString& text);
  void redo() override;
  void undo() override;

 private:
  void move(int64_t frames);
  UndoContext& context_;
  std::vector<CommandSerial> serials_;
  int64_t frames_;
  bool applied_ = false;
};

// Make All Wave Files: every command's wave file is written again, which
// gives each the file name and byte code its time, the document's title and
// rate now give; undo brings back the names and byte codes the commands had
// (the files written stay, as every wave file does).
class MakeWavesStep : public QUndoCommand {
 public:
  MakeWavesStep(UndoContext& context, const QString& text);
  void redo() override;
  void undo() override;

 private:
  struct Texts {
    CommandSerial serial;
    std::string fileName;
    std::string byteCode;
  };
  UndoContext& context_;
  std::vector<Texts> before_;
};

// Settings > Sample Rate.
class SampleRateStep : public QUndoCommand {
 public:
  SampleRateStep(UndoContext& context, int32_t rate, const QString& text);
  void redo() override;
  void undo() override;

 private:
  UndoContext& context_;
  int32_t rate_;
  int32_t previous_ = 0;
};

}  // namespace vtq
