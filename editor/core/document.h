// The cue document: the command list and the sample rate of its wave files,
// tied to one .qtd file from the moment it is created. The file's folder and
// title also decide where, and under which names, the wave files go.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "cmd_array.h"
#include "command_prompts.h"

namespace vtq {

// The editor's messages about document files; "%1" stands for the file.
inline constexpr const char* kUnexpectedFileFormat = "Unexpected file format.";
inline constexpr const char* kIncorrectSchema = "%1 contains an incorrect schema.";
inline constexpr const char* kUnexpectedObject = "%1 contained an unexpected object.";
inline constexpr const char* kFailedToOpen = "Failed to open document.";
inline constexpr const char* kFailedToSave = "Failed to save document.";

struct DocumentError {
  std::string message;  // the editor's message, with the file put in
  std::string detail;   // the reason (system error, or what is wrong where)
};

// Told of every change of the command list, around each row step, so that a
// view can announce inserts, removals and moves as such. `to` of a move is the
// row the command has after the move.
class DocumentObserver {
 public:
  virtual ~DocumentObserver() = default;
  virtual void aboutToInsert(size_t row) = 0;
  virtual void inserted(size_t row) = 0;
  virtual void aboutToRemove(size_t row) = 0;
  virtual void removed(size_t row) = 0;
  virtual void aboutToMove(size_t from, size_t to) = 0;
  virtual void moved(size_t from, size_t to) = 0;
  // The command at `row` changed in place (same row).
  virtual void changed(size_t row) = 0;
  // The whole list was replaced (new, open, reload).
  virtual void aboutToReset() = 0;
  virtual void reset() = 0;
};

enum class InsertOutcome { Inserted, Cancelled, Aborted, WaveFailed };

class CQuorlinVTQEditorDoc {
 public:
  static constexpr int32_t kSampleRates[2] = {44100, 48000};

  CQuorlinVTQEditorDoc() = default;
  CQuorlinVTQEditorDoc(const CQuorlinVTQEditorDoc&) = delete;
  CQuorlinVTQEditorDoc& operator=(const CQuorlinVTQEditorDoc&) = delete;

  // --- File ---
  // Resets the document to an empty list at 44100 Hz tied to `path` and writes
  // it there at once. When the write fails, the document stays as it was.
  bool newDocument(const std::filesystem::path& path, DocumentError& error);
  // Reads `path`; on failure the document stays as it was.
  bool openDocument(const std::filesystem::path& path, DocumentError& error);
  // Takes `qtd` (the bytes of a .qtd file, from a recovery file) as the
  // document tied to `path`, marked modified: unsaved changes of that file.
  bool restoreDocument(const std::filesystem::path& path, std::span<const uint8_t> qtd, DocumentError& error);
  // Writes the document to its file, replacing it only when the whole write
  // succeeded.
  bool saveDocument(DocumentError& error);
  bool saveDocumentAs(const std::filesystem::path& path, DocumentError& error);

  // --- Queries ---
  const std::filesystem::path& path() const { return path_; }
  // The file name with its extension ("Untitled" before the first file).
  std::string title() const;
  // The folder of the file (empty: the current folder).
  std::filesystem::path directory() const { return path_.parent_path(); }
  // The title up to its first ".": the start of every wave file name.
  std::string baseName() const;
  int32_t sampleRate() const { return sampleRate_; }
  // Sets the rate of wave files made from now on; marks the document modified
  // when it changes.
  void setSampleRate(int32_t rate);
  bool isModified() const { return modified_; }
  void setModified(bool modified) { modified_ = modified; }

  size_t commandCount() const { return commands_.size(); }
  // The command at `index`, or null past the end.
  CCommand* commandAt(size_t index) const { return commands_.at(index); }
  const CCmdArray& commands() const { return commands_; }

  // --- Command operations ---
  // Asks for the command through `prompts`, checks it against its neighbours,
  // writes its wave file and inserts it in insert-time order. The command is
  // destroyed when it is not inserted.
  InsertOutcome InsertCommand(std::unique_ptr<CCommand> command, CommandPrompts& prompts);
  // The index at which a command at `insertTime` goes: before every command at
  // that time or later.
  size_t insertIndexFor(CSMPTETime insertTime) const;
  // Whether a command inserted at `index` overlaps the transmission of the
  // command before it or of the one at `index`.
  bool conflictsAt(size_t index, const CCommand& command) const;

  // New: a default command for an empty list, else a copy of the last command
  // moved on by its transmission length.
  InsertOutcome CommandNew(CommandPrompts& prompts);
  // Edit: the command at `index` is replaced by an edited copy; on failure it
  // stays as it was. Nothing happens without a command at `index`.
  std::optional<InsertOutcome> CommandEdit(size_t index, CommandPrompts& prompts);
  // Delete: removes the command at `index`; its wave file stays on disk.
  bool CommandDelete(size_t index);

  // Makes the command object that New proposes.
  std::unique_ptr<CCommand> proposeNewCommand();

  // --- Identity and row steps (document_edits.h builds on these) ---
  // The row of the command with `serial`, or npos.
  size_t rowOf(uint64_t serial) const;
  CCommand* commandBySerial(uint64_t serial) const;
  // Row steps, each announced to the observer and marking the document
  // modified. insertRow gives the command a serial when it has none.
  void insertRow(size_t row, std::unique_ptr<CCommand> command);
  std::unique_ptr<CCommand> takeRow(size_t row);
  void moveRow(size_t from, size_t to);
  void rowChanged(size_t row);
  // The observer (one; null for none). It must outlive the document or be
  // unset first.
  void setObserver(DocumentObserver* observer) { observer_ = observer; }

 private:
  void adoptCommands();
  bool load(const std::filesystem::path& path, std::span<const uint8_t> bytes, DocumentError& error);
  void replaceAll(CCmdArray commands);

  std::filesystem::path path_;
  CCmdArray commands_;
  int32_t sampleRate_ = 44100;
  bool modified_ = false;
  uint64_t nextSerial_ = 1;
  DocumentObserver* observer_ = nullptr;
};

// Puts the file into a "%1" message.
std::string messageForFile(const char* message, const std::filesystem::path& path);

}  // namespace vtq
