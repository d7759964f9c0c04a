// The file operations of the window around the one document: New (the
// "Create new document" procedure), Open, Save, Save As, the question before
// a modified document is discarded, and the start-up that always ends with a
// document tied to a file.
#pragma once

#include <QtCore/QString>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "core/document.h"
#include "recent_files.h"
#include "window_prompts.h"

namespace vtq {

// Told around the flows' file steps; the recovery of unsaved changes and the
// watch for changes by other programs plug in here.
class DocumentFileHooks {
 public:
  virtual ~DocumentFileHooks() = default;
  // The document was opened or created: it is now tied to its file.
  virtual void documentOpened() {}
  // Before the document is written to `target`; false stops the save.
  virtual bool beforeSave(const std::filesystem::path& /*target*/) { return true; }
  // After the write (or after a stop): whether the document was saved.
  virtual void afterSave(bool /*saved*/) {}
};

class DocumentFlows {
 public:
  DocumentFlows(CQuorlinVTQEditorDoc& document, WindowPrompts& prompts, RecentFiles& recent)
      : document_(document), prompts_(prompts), recent_(recent) {}

  // Asks for a file and makes it the document: a new empty one written at
  // once, or the existing one opened. Cancel, in the file dialog or at the
  // overwrite question, returns false (the current document stays; at
  // start-up the program then ends). While the document is "Untitled" a file
  // that cannot be opened or written asks again.
  bool createDocument();
  // Opens `path` and puts it first in the recent list; on failure tells the
  // user and keeps the current document.
  bool openDocument(const QString& path);
  // Asks for a document with the Open dialog and opens it.
  bool openWithDialog();
  bool save();
  bool saveAs();
  // Before a modified document is discarded: asks whether to save it. False
  // when the user cancels or the save fails.
  bool saveModified();
  // Opens the document named on the command line, else the most recent one,
  // else creates one. False when the user cancelled: the program ends.
  bool startUp(const std::optional<QString>& named);
  // Hooks are told in the order they were added; each must outlive the flows' use.
  void addFileHooks(DocumentFileHooks& hooks) { hooks_.push_back(&hooks); }

 private:
  void opened();
  bool write(const std::filesystem::path& target, const std::function<bool(DocumentError&)>& save);
  bool isUntitled() const { return document_.path().empty(); }
  bool replaceWithNew(const QString& path);
  void reportError(const DocumentError& error);

  CQuorlinVTQEditorDoc& document_;
  WindowPrompts& prompts_;
  RecentFiles& recent_;
  std::vector<DocumentFileHooks*> hooks_;
};

}  // namespace vtq
