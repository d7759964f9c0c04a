// Keeps a recovery file of the document while it has unsaved changes, so that
// a crash or a kill loses at most the last kRecoveryInterval, and offers the
// changes back when the document is opened again. Saving, or ending without
// saving (the flow is destroyed), removes the file.
#pragma once

#include <QtCore/QObject>
#include <QtCore/QTimer>
#include <chrono>
#include <filesystem>
#include <vector>

#include "core/document.h"
#include "document_flows.h"
#include "file_safety_prompts.h"

namespace vtq {

inline constexpr std::chrono::milliseconds kRecoveryInterval{2000};

class RecoveryFlow : public QObject, public DocumentFileHooks {
  Q_OBJECT

 public:
  // `folder` holds the recovery files (defaultFolder() in the window).
  RecoveryFlow(CQuorlinVTQEditorDoc& document, FileSafetyPrompts& prompts, std::filesystem::path folder,
               QObject* parent = nullptr);
  ~RecoveryFlow() override;

  // The "recovery" folder under the application's data location.
  static std::filesystem::path defaultFolder();

  // Writes the recovery file now when the document has changes not yet in
  // it, removes it when the document has none (the timer calls this).
  void checkpoint();
  const QTimer& timer() const { return timer_; }

  void documentOpened() override;
  void afterSave(bool saved) override;

 signals:
  // The document now holds restored changes (the view shows it again).
  void restored();

 private:
  void discard();

  CQuorlinVTQEditorDoc& document_;
  FileSafetyPrompts& prompts_;
  std::filesystem::path folder_;
  std::filesystem::path written_;      // the document the recovery file was written for
  std::vector<uint8_t> writtenBytes_;  // what it holds
  QTimer timer_;
};

}  // namespace vtq
