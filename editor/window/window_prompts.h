// Every question the window asks the user, behind one interface: the real
// window answers with dialogs and message boxes (DialogPrompts), tests answer
// in code. Texts are the editor's own.
#pragma once

#include <QtCore/QString>
#include <cstdint>
#include <optional>

#include <cstdint>
#include <optional>

#include "core/command_prompts.h"
#include "core/smpte_time.h"

namespace vtq {

inline constexpr const char* kCreateDocumentTitle = "Create new document";
inline constexpr const char* kDocumentFilter = "Quorlin VTQ Editor Documents (*.qtd)";
inline constexpr const char* kOverwriteQuestion =
    "Overwrite existing file?\nClick Yes to overwrite, No to open existing file, or Cancel to quit.";
inline constexpr const char* kSaveChangesQuestion = "Save changes to %1?";

struct CueTrackRequest {
  QString file;
  CSMPTETime start;
  std::optional<CSMPTETime> length;  // none: up to the last transmission
};

struct SoundTrackRequest {
  QString file;
  CSMPTETime start;                 // the time code of the mix's first sample
  std::optional<uint16_t> channel;  // counted from 1; none: all channels summed
};

enum class OverwriteChoice { Overwrite, OpenExisting, Cancel };

// Which commands Shift Times moves.
enum class ShiftScope { Selection, FromFirstSelected };

struct ShiftRequest {
  int64_t frames = 0;  // negative: earlier
  ShiftScope scope = ShiftScope::Selection;
};
enum class SaveChoice { Save, Discard, Cancel };

class WindowPrompts : public CommandPrompts {
 public:
  // kConflictWarning with `clash` (the command it overlaps) as the box's
  // informative text; Abort, Retry and Ignore, or only Abort and Ignore when
  // `retry` is false (Retry then never comes back).
  virtual ConflictChoice conflictWith(const QString& clash, bool retry) = 0;
  // The "Create new document" file dialog; a name that does not exist yet is
  // accepted. Empty when cancelled.
  virtual QString createDocumentName() = 0;
  // kOverwriteQuestion with Yes, No and Cancel.
  virtual OverwriteChoice overwriteExisting() = 0;
  // The standard Open and Save As dialogs; empty when cancelled.
  virtual QString openDocumentName() = 0;
  virtual QString saveDocumentName(const QString& current) = 0;
  // kSaveChangesQuestion for the document `title`, with Yes, No and Cancel.
  virtual SaveChoice saveChanges(const QString& title) = 0;
  // A failure, with the editor's message and the reason behind it.
  virtual void error(const QString& message, const QString& detail) = 0;
  // What to render the cue track into (the file, suggested `suggested`, its
  // start and length) and which mixed sound track to check (the file, the time
  // code of its first sample, suggested `start`, and the channel); none when
  // cancelled.
  virtual std::optional<CueTrackRequest> cueTrackRequest(const QString& suggested) = 0;
  virtual std::optional<SoundTrackRequest> soundTrackRequest(const CSMPTETime& start) = 0;
  // The check's report with an offer to save it as CSV: the file chosen
  // (suggested `suggestedCsv`), empty when the user only closed it.
  virtual QString checkReport(const QString& text, const QString& suggestedCsv) = 0;
  // A report of lines, shown until the user closes it.
  virtual void report(const QString& title, const QString& text) = 0;
  // The "Shift Times" dialog, opened with `proposal`; empty when cancelled.
  virtual std::optional<ShiftRequest> shiftTimes(const ShiftRequest& proposal, int selectionCount) = 0;
  // The document `title` opened at `rate`, which is neither 44100 nor 48000
  // Hz: says so and offers both. The rate chosen, or 0 to keep it.
  virtual int unusualRate(const QString& title, int rate) = 0;
  // The "Go to Time" dialog; empty when cancelled.
  virtual std::optional<CSMPTETime> goToTime(CSMPTETime start) = 0;
  // The command list file to export to (a save dialog at `suggested`) or to
  // import (an open dialog); empty when cancelled.
  virtual QString exportListName(const QString& suggested) = 0;
  virtual QString importListName() = 0;
};

}  // namespace vtq
