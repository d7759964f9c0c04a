// Notices when another program (a batch run, another editor) changes the
// document's file: on the window's activation it offers to reload it, and a
// Save over a changed file asks first. The comparison, the reload and the
// save hold the document's lock, so that a batch run is never half seen.
#pragma once

#include <QtCore/QObject>
#include <optional>

#include "core/document.h"
#include "core/document_identity.h"
#include "core/document_lock.h"
#include "document_flows.h"
#include "file_safety_prompts.h"

class QWidget;

namespace vtq {

class DiskChangeFlow : public QObject, public DocumentFileHooks {
  Q_OBJECT

 public:
  // Watches the activation of `window`.
  DiskChangeFlow(CQuorlinVTQEditorDoc& document, FileSafetyPrompts& prompts, QWidget& window);

  // Compares the file with what was remembered and offers to reload it.
  void checkNow();

  void documentOpened() override;
  bool beforeSave(const std::filesystem::path& target) override;
  void afterSave(bool saved) override;

 signals:
  // The document was read again from its file.
  void reloaded();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void remember();

  CQuorlinVTQEditorDoc& document_;
  FileSafetyPrompts& prompts_;
  DocumentIdentity identity_;  // as the editor last read or wrote the file
  DocumentIdentity declined_;  // a change the user chose not to reload
  std::optional<DocumentLock> saveLock_;
  bool checking_ = false;
};

}  // namespace vtq
