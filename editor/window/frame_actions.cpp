// What the main frame's menu items, toolbar buttons, keys and mouse do.
#include <QtCore/QFile>
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

void CMainFrame::fileNew() {
  if (saveIfModified() && flows_.createDocument()) documentReplaced();
}

void CMainFrame::fileOpen() {
  if (saveIfModified() && flows_.openWithDialog()) documentReplaced();
}

void CMainFrame::fileSave() {
  if (flows_.save()) undoStack_->setClean();
  updateView();
}

void CMainFrame::fileSaveAs() {
  const std::filesystem::path before = document_.path();
  if (flows_.saveAs()) {
    undoStack_->setClean();
    if (document_.path() != before) {
      // The same document under a new name keeps its film sound.
      shownPath_ = document_.path();
      timeline_->documentRenamed();
    }
  }
  updateView();
}

void CMainFrame::openAfterQuestion(const QString& path) {
  if (path.isEmpty() || !saveIfModified()) return;
  // A recent entry that no longer opens is taken off the list.
  if (flows_.openDocument(path)) {
    documentReplaced();
  } else {
    recent_.remove(path);
    updateView();
  }
}

CListPrinter CMainFrame::prepareListPrinter() const {
  CListPrinter listPrinter;
  std::vector<int> widths;
  for (int c = 0; c < model_->columnCount(); ++c) widths.push_back(view_->columnWidth(c));
  listPrinter.prepare(QString::fromStdString(document_.title()), *model_, widths);
  return listPrinter;
}

namespace {

// A PDF is checked on disk: a full disk leaves an empty or cut-off file while
// every drawing call succeeds.
bool outputWritten(const QPrinter& printer) {
  if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty()) return true;
  QFile file(printer.outputFileName());
  if (!file.open(QIODevice::ReadOnly)) return false;
  if (file.size() > 64) file.seek(file.size() - 64);
  return file.read(64).contains("%%EOF");
}

}  // namespace

bool CMainFrame::printTo(QPrinter& printer) {
  CListPrinter listPrinter = prepareListPrinter();
  return listPrinter.print(printer, logicalDpiY()) && outputWritten(printer);
}

void CMainFrame::filePrint() {
  // The job's date and time are taken before the print dialog.
  CListPrinter listPrinter = prepareListPrinter();
  QPrintDialog dialog(&printer_, this);
  if (dialog.exec() == QDialog::Accepted && !(listPrinter.print(printer_, logicalDpiY()) && outputWritten(printer_))) {
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
  if (!saveIfModified()) {
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

// A dropped file is taken as a copy, never a move: a file manager deletes
// the source of a move.
void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (!event->mimeData()->hasUrls()) return;
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void CMainFrame::dragMoveEvent(QDragMoveEvent* event) {
  if (!event->mimeData()->hasUrls()) return;
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  // One document at a time: of several dropped files, the last one stays open.
  QString last;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) last = url.toLocalFile();
  }
  if (last.isEmpty()) return;
  event->setDropAction(Qt::CopyAction);
  event->accept();
  if (saveIfModified() && flows_.openDocument(last)) documentReplaced();
}

}  // namespace vtq
