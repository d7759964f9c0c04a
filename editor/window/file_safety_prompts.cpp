#include "file_safety_prompts.h"

#include <QtWidgets/QMessageBox>

#include "dialog_prompts.h"

namespace vtq {
namespace {

bool ask(QWidget* parent, const QString& text, QMessageBox::StandardButton defaultButton) {
  QMessageBox box(QMessageBox::Question, QString::fromUtf8(kApplicationTitle), text, QMessageBox::Yes | QMessageBox::No,
                  parent);
  box.setDefaultButton(defaultButton);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace

bool DialogFileSafetyPrompts::restoreChanges(const QString& title, const QDateTime& when) {
  const QString text = QString::fromUtf8(kRestoreQuestion).arg(title, QLocale().toString(when, QLocale::ShortFormat));
  return ask(parent_, text, QMessageBox::Yes);
}

bool DialogFileSafetyPrompts::reloadChanged(const QString& title, bool modified) {
  return ask(parent_, QString::fromUtf8(modified ? kReloadDiscardsQuestion : kReloadQuestion).arg(title),
             modified ? QMessageBox::No : QMessageBox::Yes);
}

bool DialogFileSafetyPrompts::overwriteChanged(const QString& title) {
  return ask(parent_, QString::fromUtf8(kOverwriteChangedQuestion).arg(title), QMessageBox::No);
}

void DialogFileSafetyPrompts::failed(const QString& message) {
  QMessageBox::warning(parent_, QString::fromUtf8(kApplicationTitle), message);
}

}  // namespace vtq
