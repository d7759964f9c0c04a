#include "recovery_flow.h"

#include <QtCore/QDateTime>
#include <QtCore/QStandardPaths>

#include "core/qtd_format.h"
#include "core/recovery_file.h"

namespace vtq {

RecoveryFlow::RecoveryFlow(CQuorlinVTQEditorDoc& document, FileSafetyPrompts& prompts, std::filesystem::path folder,
                           QObject* parent)
    : QObject(parent), document_(document), prompts_(prompts), folder_(std::move(folder)) {
  timer_.setInterval(int(kRecoveryInterval.count()));
  connect(&timer_, &QTimer::timeout, this, &RecoveryFlow::checkpoint);
  timer_.start();
}

RecoveryFlow::~RecoveryFlow() { discard(); }

std::filesystem::path RecoveryFlow::defaultFolder() {
  const QString base = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  return std::filesystem::path(base.toStdString()) / "recovery";
}

void RecoveryFlow::discard() {
  if (!written_.empty()) removeRecoveryFile(folder_, written_);
  written_.clear();
  writtenBytes_.clear();
}

void RecoveryFlow::checkpoint() {
  const std::filesystem::path path = document_.path();
  if (path.empty() || !document_.isModified()) {
    discard();
    return;
  }
  const std::filesystem::path resolved = resolvedDocumentPath(path);
  if (resolved != written_) discard();
  std::vector<uint8_t> bytes = writeQtd(document_.commands(), document_.sampleRate());
  if (resolved == written_ && bytes == writtenBytes_) return;
  std::string error;
  // A failed write is tried again at the next tick; there is nothing to ask.
  if (!writeRecoveryFile(folder_, {resolved, currentProcessId(), bytes}, error)) return;
  written_ = resolved;
  writtenBytes_ = std::move(bytes);
}

void RecoveryFlow::documentOpened() {
  discard();  // the previous document's changes were saved or discarded
  const std::filesystem::path resolved = resolvedDocumentPath(document_.path());
  const auto pending = pendingRecovery(folder_, resolved);
  if (!pending) return;
  std::error_code ec;
  const auto stamp = std::filesystem::last_write_time(recoveryFileFor(folder_, resolved), ec);
  const auto seconds =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::file_clock::to_sys(stamp).time_since_epoch());
  const QString title = QString::fromStdString(document_.title());
  if (!prompts_.restoreChanges(title, QDateTime::fromSecsSinceEpoch(seconds.count()))) {
    removeRecoveryFile(folder_, resolved);
    return;
  }
  DocumentError error;
  if (!document_.restoreDocument(document_.path(), pending->qtd, error)) {
    prompts_.failed(QString::fromStdString(error.message));
    return;
  }
  // The file stays until this run writes its own or the changes are saved.
  written_ = resolved;
  emit restored();
}

void RecoveryFlow::afterSave(bool saved) {
  if (saved) discard();
}

}  // namespace vtq
