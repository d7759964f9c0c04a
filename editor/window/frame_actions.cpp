// What the main frame's menu items, toolbar buttons, keys and mouse do.
#include <QtCore/QMimeData>
#include <QtGui/QCloseEvent>
#include <QtPrintSupport/QPageSetupDialog>
#include <QtPrintSupport/QPrintDialog>
#include <QtPrintSupport/QPrintPreviewDialog>

#include "about_dlg.h"
#include "command_list_view.h"
#include "command_table_model.h"
#include "help_dlg.h"
#include "list_printer.h"
#include "main_frame.h"
#include "sound_player.h"
#include "timeline/timeline_controller.h"

namespace vtq {

void CMainFrame::commandNew() {
  document_.CommandNew(prompts_);
  updateView();
}

void CMainFrame::commandEdit() {
  const std::optional<int> row = view_->selectedRow();
  if (!row) return;
  document_.CommandEdit(size_t(*row), prompts_);
  updateView();
}

void CMainFrame::commandDelete() {
  const std::optional<int> row = view_->selectedRow();
  if (!row || !document_.CommandDelete(size_t(*row))) return;
  updateView();
}

void CMainFrame::commandPlay() {
  const std::optional<int> row = view_->selectedRow();
  const CCommand* command = row ? document_.commandAt(size_t(*row)) : nullptr;
  if (!command || command->fileName().empty()) return;
  const std::filesystem::path wave = document_.directory() / command->fileName();
  player_.playFile(QString::fromStdString(wave.string()));
}

void CMainFrame::setSampleRate(int rate) {
  if (rate == document_.sampleRate()) return;
  document_.setSampleRate(rate);
  updateView();
}

void CMainFrame::fileNew() {
  if (flows_.saveModified() && flows_.createDocument()) updateView();
}

void CMainFrame::fileOpen() {
  if (flows_.saveModified() && flows_.openWithDialog()) updateView();
}

void CMainFrame::fileSave() {
  flows_.save();
  updateView();
}

void CMainFrame::fileSaveAs() {
  const std::filesystem::path before = document_.path();
  if (flows_.saveAs() && document_.path() != before) {
    // The same document under a new name keeps its film sound.
    shownPath_ = document_.path();
    timeline_->documentRenamed();
  }
  updateView();
}

void CMainFrame::openAfterQuestion(const QString& path) {
  if (path.isEmpty() || !flows_.saveModified()) return;
  // A recent entry that no longer opens is taken off the list.
  if (!flows_.openDocument(path)) recent_.remove(path);
  updateView();
}

CListPrinter CMainFrame::prepareListPrinter() const {
  CListPrinter listPrinter;
  std::vector<int> widths;
  for (int c = 0; c < model_->columnCount(); ++c) widths.push_back(view_->columnWidth(c));
  listPrinter.prepare(QString::fromStdString(document_.title()), *model_, widths);
  return listPrinter;
}

bool CMainFrame::printTo(QPrinter& printer) {
  CListPrinter listPrinter = prepareListPrinter();
  return listPrinter.print(printer, logicalDpiY());
}

void CMainFrame::filePrint() {
  // The job's date and time are taken before the print dialog.
  CListPrinter listPrinter = prepareListPrinter();
  QPrintDialog dialog(&printer_, this);
  if (dialog.exec() == QDialog::Accepted && !listPrinter.print(printer_, logicalDpiY())) {
    prompts_.error(QStringLiteral("The list could not be printed."), printer_.outputFileName());
  }
}

void CMainFrame::filePrintPreview() {
  CListPrinter listPrinter = prepareListPrinter();
  QPrintPreviewDialog preview(&printer_, this);
  connect(&preview, &QPrintPreviewDialog::paintRequested, this,
          [&](QPrinter* printer) { listPrinter.print(*printer, logicalDpiY()); });
  preview.exec();
}

void CMainFrame::filePrintSetup() {
  QPageSetupDialog dialog(&printer_, this);
  dialog.exec();
}

void CMainFrame::showHelp() {
  // An open help window is replaced by a new one.
  if (help_) delete help_.data();
  help_ = new CHelpDlg(this);
  help_->show();
}

void CMainFrame::showAbout() {
  CAboutDlg about(this);
  about.exec();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (!flows_.saveModified()) {
    event->ignore();
    return;
  }
  if (help_) help_->close();
  event->accept();
}

void CMainFrame::changeEvent(QEvent* event) {
  // The list holds the keyboard focus whenever the window is active.
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) view_->setFocus();
  QMainWindow::changeEvent(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  // One document at a time: of several dropped files, the last one stays open.
  QString last;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) last = url.toLocalFile();
  }
  if (last.isEmpty()) return;
  event->acceptProposedAction();
  if (flows_.saveModified() && flows_.openDocument(last)) updateView();
}

}  // namespace vtq
