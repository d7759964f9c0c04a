#include "disk_change_flow.h"

#include <QtCore/QEvent>
#include <QtCore/QTimer>
#include <QtWidgets/QWidget>

namespace vtq {
namespace {

// How long a save waits for a batch run that holds the document.
constexpr std::chrono::seconds kSaveLockWait{5};

}  // namespace

DiskChangeFlow::DiskChangeFlow(CQuorlinVTQEditorDoc& document, FileSafetyPrompts& prompts, QWidget& window)
    : QObject(&window), document_(document), prompts_(prompts) {
  window.installEventFilter(this);
}

bool DiskChangeFlow::eventFilter(QObject* watched, QEvent* event) {
  // Asked after the activation is done, not inside its event.
  if (event->type() == QEvent::WindowActivate) QTimer::singleShot(0, this, &DiskChangeFlow::checkNow);
  return QObject::eventFilter(watched, event);
}

void DiskChangeFlow::remember() {
  identity_ = documentIdentity(document_.path());
  declined_ = {};
}

void DiskChangeFlow::documentOpened() { remember(); }

void DiskChangeFlow::checkNow() {
  const std::filesystem::path path = document_.path();
  if (checking_ || path.empty() || saveLock_) return;
  DocumentIdentity now;
  {
    // A program that holds the document is still writing it: look again at
    // the next activation.
    std::string error;
    auto lock = DocumentLock::tryAcquire(path, error);
    if (!lock || !changedOnDisk(identity_, path)) return;
    now = documentIdentity(path);
  }
  // A removed file cannot be read again; the next Save writes it.
  if (!now.exists || now == declined_) return;
  checking_ = true;
  const bool reload = prompts_.reloadChanged(QString::fromStdString(document_.title()), document_.isModified());
  checking_ = false;
  if (!reload) {
    declined_ = now;
    return;
  }
  std::string lockError;
  auto lock = DocumentLock::acquire(path, kSaveLockWait, lockError);
  DocumentError error;
  if (!lock || !document_.openDocument(path, error)) {
    prompts_.failed(QString::fromStdString(lock ? error.message + "\n" + error.detail : lockError));
    return;
  }
  remember();
  emit reloaded();
}

bool DiskChangeFlow::beforeSave(const std::filesystem::path& target) {
  std::string error;
  saveLock_ = DocumentLock::acquire(target, kSaveLockWait, error);
  if (!saveLock_) {
    prompts_.failed(QString::fromStdString(error));
    return false;
  }
  // Only the document's own file is compared; Save As to another file asks
  // in its file dialog.
  const bool ownFile = target == document_.path();
  if (ownFile && documentIdentity(target).exists && changedOnDisk(identity_, target) &&
      !prompts_.overwriteChanged(QString::fromStdString(document_.title()))) {
    saveLock_.reset();
    return false;
  }
  return true;
}

void DiskChangeFlow::afterSave(bool saved) {
  if (saved) remember();
  saveLock_.reset();
}

}  // namespace vtq
