#include "dialog_prompts.h"

#include <QtGui/QFontDatabase>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

#include "command_dlg.h"
#include "cue_track_dlg.h"
#include "time_dialogs.h"

namespace vtq {
namespace {

constexpr const char* kListFilters = "Command Lists (*.csv);;Tab-Separated Command Lists (*.tsv);;All Files (*)";
constexpr const char* kAllFilters = "Quorlin VTQ Editor Documents (*.qtd);;All Files (*)";

QMessageBox::StandardButton ask(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                QMessageBox::StandardButtons buttons) {
  QMessageBox box(icon, QString::fromUtf8(kApplicationTitle), text, buttons, parent);
  return QMessageBox::StandardButton(box.exec());
}

// Qt's own widget dialog, the same on every desktop, so that the behaviour
// below does not depend on a platform dialog.
QString runFileDialog(QFileDialog& dialog) {
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setDefaultSuffix(QStringLiteral("qtd"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

}  // namespace

bool DialogPrompts::editCommand(CCommand& command) {
  CCommandDlg dialog(command, parent_);
  return dialog.exec() == QDialog::Accepted;
}

ConflictChoice DialogPrompts::conflict(const std::string& warning) {
  switch (ask(parent_, QMessageBox::Warning, QString::fromStdString(warning),
              QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore)) {
    case QMessageBox::Retry: return ConflictChoice::Retry;
    case QMessageBox::Ignore: return ConflictChoice::Ignore;
    default: return ConflictChoice::Abort;
  }
}

ConflictChoice DialogPrompts::conflictWith(const QString& clash, bool retry) {
  const QMessageBox::StandardButtons buttons =
      retry ? QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore : QMessageBox::Abort | QMessageBox::Ignore;
  QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kApplicationTitle), QString::fromUtf8(kConflictWarning),
                  buttons, parent_);
  box.setInformativeText(clash);
  switch (box.exec()) {
    case QMessageBox::Retry: return ConflictChoice::Retry;
    case QMessageBox::Ignore: return ConflictChoice::Ignore;
    default: return ConflictChoice::Abort;
  }
}

bool DialogPrompts::waveFailed(const std::string& message) {
  return ask(parent_, QMessageBox::Warning, QString::fromStdString(message),
             QMessageBox::Retry | QMessageBox::Cancel) == QMessageBox::Retry;
}

QString DialogPrompts::createDocumentName() {
  // An open dialog that takes any name, so that a new file can be named; the
  // overwrite question is the editor's own.
  QFileDialog dialog(parent_, QString::fromUtf8(kCreateDocumentTitle), QString(), QString::fromUtf8(kDocumentFilter));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  return runFileDialog(dialog);
}

OverwriteChoice DialogPrompts::overwriteExisting() {
  // No (open the file) is the default, so that Enter never empties a document.
  QMessageBox box(QMessageBox::Question, QString::fromUtf8(kApplicationTitle), QString::fromUtf8(kOverwriteQuestion),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent_);
  box.setDefaultButton(QMessageBox::No);
  switch (box.exec()) {
    case QMessageBox::Yes: return OverwriteChoice::Overwrite;
    case QMessageBox::No: return OverwriteChoice::OpenExisting;
    default: return OverwriteChoice::Cancel;
  }
}

QString DialogPrompts::openDocumentName() {
  QFileDialog dialog(parent_, QStringLiteral("Open"), QString(), QString::fromUtf8(kAllFilters));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  return runFileDialog(dialog);
}

QString DialogPrompts::saveDocumentName(const QString& current) {
  QFileDialog dialog(parent_, QStringLiteral("Save As"), current, QString::fromUtf8(kAllFilters));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  return runFileDialog(dialog);
}

SaveChoice DialogPrompts::saveChanges(const QString& title) {
  switch (ask(parent_, QMessageBox::Warning, QString::fromUtf8(kSaveChangesQuestion).arg(title),
              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes: return SaveChoice::Save;
    case QMessageBox::No: return SaveChoice::Discard;
    default: return SaveChoice::Cancel;
  }
}

void DialogPrompts::error(const QString& message, const QString& detail) {
  QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kApplicationTitle), message, QMessageBox::Ok, parent_);
  if (!detail.isEmpty()) box.setDetailedText(detail);
  box.exec();
}

std::optional<CueTrackRequest> DialogPrompts::cueTrackRequest(const QString& suggested) {
  CueTrackDlg dialog(suggested, parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.request();
}

std::optional<SoundTrackRequest> DialogPrompts::soundTrackRequest(const SoundTrackRequest& defaults) {
  SoundTrackDlg dialog(defaults, parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.request();
}

QString DialogPrompts::checkReport(const QString& text, const QString& suggestedCsv) {
  CheckReportDlg dialog(text, suggestedCsv, parent_);
  dialog.exec();
  return dialog.csvName();
}

void DialogPrompts::report(const QString& title, const QString& text) {
  QDialog dialog(parent_);
  dialog.setWindowTitle(title);
  auto* view = new QPlainTextEdit(text, &dialog);
  view->setReadOnly(true);
  view->setLineWrapMode(QPlainTextEdit::NoWrap);
  view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(view);
  layout->addWidget(buttons);
  dialog.resize(800, 420);  // a summary line fits without scrolling
  dialog.exec();
}

}  // namespace vtq

namespace vtq {

int DialogPrompts::unusualRate(const QString& title, int rate) {
  QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kApplicationTitle),
                  QStringLiteral("%1 makes its wave files at %2 Hz.").arg(title).arg(rate), QMessageBox::NoButton,
                  parent_);
  box.setInformativeText(QStringLiteral("Wave files are made at 44100 or 48000 Hz only, so no command can be made or "
                                        "edited at this rate. Set the document's rate?"));
  QPushButton* rate44100 = box.addButton(QStringLiteral("44100 Hz"), QMessageBox::AcceptRole);
  QPushButton* rate48000 = box.addButton(QStringLiteral("48000 Hz"), QMessageBox::AcceptRole);
  box.addButton(QStringLiteral("Keep"), QMessageBox::RejectRole);
  box.setDefaultButton(rate44100);
  box.exec();
  if (box.clickedButton() == rate44100) return 44100;
  if (box.clickedButton() == rate48000) return 48000;
  return 0;
}

std::optional<ShiftRequest> DialogPrompts::shiftTimes(const ShiftRequest& proposal, int selectionCount) {
  ShiftTimesDlg dialog(proposal, selectionCount, parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.request();
}

std::optional<CSMPTETime> DialogPrompts::goToTime(CSMPTETime start) {
  GoToTimeDlg dialog(start, parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.time();
}

QString DialogPrompts::exportListName(const QString& suggested) {
  QFileDialog dialog(parent_, QStringLiteral("Export List"), suggested, QString::fromUtf8(kListFilters));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setDefaultSuffix(QStringLiteral("csv"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

QString DialogPrompts::importListName() {
  QFileDialog dialog(parent_, QStringLiteral("Import List"), QString(), QString::fromUtf8(kListFilters));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

}  // namespace vtq
