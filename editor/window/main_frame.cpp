#include "main_frame.h"

#include <QtCore/QMimeData>
#include <QtGui/QCloseEvent>
#include <QtGui/QIcon>
#include <QtGui/QPainter>
#include <QtGui/QShortcut>
#include <QtGui/QUndoStack>
#include <QtPrintSupport/QPageSetupDialog>
#include <QtPrintSupport/QPrintDialog>
#include <QtPrintSupport/QPrintPreviewDialog>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDockWidget>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QSplitter>
#include <QtWidgets/QStatusBar>
#include <QtWidgets/QStyle>
#include <QtWidgets/QToolBar>

#include "about_dlg.h"
#include "command_list_view.h"
#include "command_table_model.h"
#include "core/command_prompts.h"
#include "dialog_prompts.h"
#include "help_dlg.h"
#include "list_printer.h"
#include "lock_indicators.h"
#include "sound_player.h"
#include "timeline/timeline_controller.h"
#include "window_resources.h"

namespace vtq {
namespace {

// Status line prompt and tool tip, separated by "\n".
constexpr const char* kPromptNew = "Add a new command to the list\nNew";
constexpr const char* kPromptEdit = "Edit the selected command\nEdit";
constexpr const char* kPromptPlay = "Play the VTQ wave file for the selected command\nPlay";
constexpr const char* kPromptDelete = "Delete the selected command\nDelete";
constexpr const char* kPromptManual = "Tips for getting started with the Orrend VTQ Editor\nQuick Start Manual";

QIcon standardIcon(const QWidget* widget, const char* themeName, QStyle::StandardPixmap fallback) {
  return QIcon::fromTheme(QString::fromUtf8(themeName), widget->style()->standardIcon(fallback));
}

// A dark triangle: the icon themes' play images are drawn too pale to read
// as enabled on a light toolbar.
QIcon playIcon() {
  QPixmap picture(24, 24);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(40, 40, 40));
  painter.drawPolygon(QPolygonF({QPointF(7, 4), QPointF(20, 12), QPointF(7, 20)}));
  return QIcon(picture);
}

}  // namespace

CMainFrame::CMainFrame(FrameContext context, QWidget* parent)
    : QMainWindow(parent),
      document_(context.document),
      prompts_(context.prompts),
      recent_(context.recent),
      player_(context.player),
      flows_(context.document, context.prompts, context.recent),
      model_(new CommandTableModel(context.document, this)),
      view_(new CommandListView(this)),
      undoStack_(new QUndoStack(this)) {
  setWindowIcon(QIcon(QString::fromUtf8(kProgramIconPath)));
  view_->setModel(model_);
  view_->setBackgroundPicture(QPixmap(QString::fromUtf8(kListBackgroundPath)));
  // The list above, the timeline of the film sound under it.
  timeline_ = new TimelineController({document_, prompts_, *this, *view_, undoContext(), *undoStack_,
                                      [this] { updateView(); }, [this] { commandEdit(); }, [this] { commandDelete(); }},
                                     this);
  auto* panes = new QSplitter(Qt::Vertical, this);
  panes->addWidget(view_);
  panes->addWidget(timeline_->pane());
  panes->setStretchFactor(0, 3);
  panes->setStretchFactor(1, 2);
  panes->setChildrenCollapsible(false);
  setCentralWidget(panes);
  connect(undoStack_, &QUndoStack::indexChanged, this, &CMainFrame::followUndoStack);
  connect(undoStack_, &QUndoStack::cleanChanged, this, &CMainFrame::followUndoStack);
  // A new document resets the model, which forgets the column widths; the
  // user's widths are kept.
  connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
    columnWidths_.clear();
    for (int c = 0; c < model_->columnCount(); ++c) columnWidths_.push_back(view_->columnWidth(c));
  });
  connect(model_, &QAbstractItemModel::modelReset, this, [this] {
    for (size_t c = 0; c < columnWidths_.size(); ++c) view_->setColumnWidth(int(c), columnWidths_[c]);
  });
  connect(model_, &QAbstractItemModel::rowsAboutToBeRemoved, this,
          [this](const QModelIndex&, int first, int) { removedAt_ = first; });
  buildFileMenu();
  buildEditMenu();
  buildOtherMenus();
  buildToolBar();
  buildStatusBar();
  buildKeys();
  connect(view_, &CommandListView::playRequested, this, &CMainFrame::commandPlay);
  connect(view_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { commandMenu_->exec(view_->viewport()->mapToGlobal(at)); });
  setAcceptDrops(true);
  resize(640, 400);
}

CMainFrame::~CMainFrame() {
  // Clearing the stack as it goes must not show the list of a frame half gone.
  undoStack_->disconnect();
}

QAction* CMainFrame::makeAction(const char* text, const char* prompt, void (CMainFrame::*slot)()) {
  auto* action = new QAction(QString::fromUtf8(text), this);
  if (prompt) {
    const QStringList parts = QString::fromUtf8(prompt).split(QLatin1Char('\n'));
    action->setStatusTip(parts.value(0));
    action->setToolTip(parts.value(1, parts.value(0)));
  }
  if (slot) connect(action, &QAction::triggered, this, slot);
  return action;
}

void CMainFrame::buildFileMenu() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  actions_.fileNew = makeAction("&New\tCtrl+N", "Create a new document\nNew", &CMainFrame::fileNew);
  actions_.fileOpen = makeAction("&Open...\tCtrl+O", "Open an existing document\nOpen", &CMainFrame::fileOpen);
  actions_.fileSave = makeAction("&Save\tCtrl+S", "Save the active document\nSave", &CMainFrame::fileSave);
  actions_.filePrint = makeAction("&Print...\tCtrl+P", "Print the active document\nPrint", &CMainFrame::filePrint);
  actions_.fileNew->setShortcut(QKeySequence::New);
  actions_.fileOpen->setShortcut(QKeySequence::Open);
  actions_.fileSave->setShortcut(QKeySequence::Save);
  actions_.filePrint->setShortcut(QKeySequence::Print);
  file->addActions({actions_.fileNew, actions_.fileOpen, actions_.fileSave});
  file->addAction(
      makeAction("Save &As...", "Save the active document with a new name\nSave As", &CMainFrame::fileSaveAs));
  file->addSeparator();
  file->addAction(actions_.filePrint);
  file->addAction(makeAction("Print Pre&view", "Display full pages\nPrint Preview", &CMainFrame::filePrintPreview));
  file->addAction(makeAction("P&rint Setup...", "Change the printer and printing options\nPrint Setup",
                             &CMainFrame::filePrintSetup));
  file->addSeparator();
  file->addAction(makeAction("&Export List...", "Write the command list as comma-separated text\nExport List",
                             &CMainFrame::exportList));
  file->addAction(makeAction("&Import List...", "Add the commands of a comma-separated list\nImport List",
                             &CMainFrame::importList));
  file->addAction(makeAction("Render Cue Track...",
                             "Write every command's transmission into one wave file\nRender Cue Track",
                             &CMainFrame::fileRenderCueTrack));
  file->addAction(makeAction("Check Sound Track...",
                             "Find and decode every cue in a mixed sound track\nCheck Sound Track",
                             &CMainFrame::fileCheckSoundTrack));
  file->addSeparator();
  timeline_->addFileItems(*file);
  file->addSeparator();
  recentPlaceholder_ = file->addAction(QStringLiteral("Recent File"));
  recentPlaceholder_->setEnabled(false);
  for (size_t i = 0; i < recentActions_.size(); ++i) {
    recentActions_[i] =
        file->addAction(QString(), this, [this, i] { openAfterQuestion(recent_.entries().value(int(i))); });
    recentActions_[i]->setStatusTip(QStringLiteral("Open this document"));
  }
  file->addSeparator();
  file->addAction(makeAction("E&xit", "Quit the application; prompts to save documents\nExit", nullptr));
  connect(file->actions().last(), &QAction::triggered, this, &QWidget::close);
}

void CMainFrame::buildEditMenu() {
  editMenu_ = menuBar()->addMenu(QStringLiteral("&Edit"));
  QAction* undo = undoStack_->createUndoAction(this, QStringLiteral("&Undo"));
  QAction* redo = undoStack_->createRedoAction(this, QStringLiteral("&Redo"));
  undo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
  redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  undo->setStatusTip(QStringLiteral("Undo the last change"));
  redo->setStatusTip(QStringLiteral("Redo the change undone last"));
  undo->setIcon(standardIcon(this, "edit-undo", QStyle::SP_ArrowBack));
  redo->setIcon(standardIcon(this, "edit-redo", QStyle::SP_ArrowForward));
  actions_.undo = undo;
  actions_.redo = redo;
  editMenu_->addActions({undo, redo});
  editMenu_->addSeparator();
  QAction* cut = makeAction("Cu&t", "Cut the selected commands to the clipboard\nCut", &CMainFrame::editCut);
  QAction* copy = makeAction("&Copy", "Copy the selected commands to the clipboard\nCopy", &CMainFrame::editCopy);
  QAction* paste = makeAction("&Paste", "Insert the commands of the clipboard after the current command\nPaste",
                              &CMainFrame::editPaste);
  cut->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)});
  copy->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
  paste->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)});
  editMenu_->addActions({cut, copy, paste});
  // Ctrl+A is the list's own key; the item only names it.
  QAction* selectAll =
      editMenu_->addAction(QStringLiteral("Select &All\tCtrl+A"), view_, &QAbstractItemView::selectAll);
  selectAll->setStatusTip(QStringLiteral("Select every command"));
  editMenu_->addSeparator();
  QAction* goTo =
      makeAction("&Go to Time...", "Make the command at or after a time current\nGo to Time", &CMainFrame::goToTime);
  goTo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
  editMenu_->addAction(goTo);
}

void CMainFrame::buildOtherMenus() {
  QMenu* settings = menuBar()->addMenu(QStringLiteral("&Settings"));
  QMenu* rate = settings->addMenu(QStringLiteral("&Sample Rate"));
  rate44100_ = rate->addAction(QStringLiteral("44100 Hz"), this, [this] { setSampleRate(44100); });
  rate48000_ = rate->addAction(QStringLiteral("48000 Hz"), this, [this] { setSampleRate(48000); });
  rate44100_->setCheckable(true);
  rate48000_->setCheckable(true);

  commandMenu_ = menuBar()->addMenu(QStringLiteral("&Command"));
  actions_.cmdNew = makeAction("&New...", kPromptNew, &CMainFrame::commandNew);
  actions_.cmdEdit = makeAction("&Edit...", kPromptEdit, &CMainFrame::commandEdit);
  actions_.cmdDelete = makeAction("&Delete", kPromptDelete, &CMainFrame::commandDelete);
  actions_.cmdPlay = makeAction("&Play", kPromptPlay, &CMainFrame::commandPlay);
  commandMenu_->addActions({actions_.cmdNew, actions_.cmdEdit, actions_.cmdDelete, actions_.cmdPlay});
  commandMenu_->addSeparator();
  QAction* shift = makeAction("&Shift Times...", "Move commands earlier or later by one amount\nShift Times",
                              &CMainFrame::shiftTimes);
  shift->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
  commandMenu_->addAction(shift);
  commandMenu_->addAction(makeAction("&Make All Wave Files",
                                     "Write every command's wave file again\nMake All Wave Files",
                                     &CMainFrame::makeAllWaveFiles));
  timeline_->addCommandItems(*commandMenu_);

  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  QAction* toolbar = view->addAction(QStringLiteral("&Toolbar"));
  QAction* status = view->addAction(QStringLiteral("&Status Bar"));
  toolbar->setStatusTip(QStringLiteral("Show or hide the toolbar"));
  status->setStatusTip(QStringLiteral("Show or hide the status bar"));
  for (QAction* bar : {toolbar, status}) {
    bar->setCheckable(true);
    bar->setChecked(true);
  }
  connect(toolbar, &QAction::toggled, this, [this](bool on) { toolBar_->setVisible(on); });
  connect(status, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
  timeline_->addViewItems(*view);

  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  actions_.help = makeAction("&Quick Start Manual...", kPromptManual, &CMainFrame::showHelp);
  help->addAction(actions_.help);
  help->addAction(makeAction("&About Quorlin VTQ Editor...",
                             "Display program information, version number and copyright\nAbout",
                             &CMainFrame::showAbout));
}

void CMainFrame::buildToolBar() {
  toolBar_ = new QToolBar(QStringLiteral("Toolbar"), this);
  toolBar_->setObjectName(QStringLiteral("toolbar"));
  toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
  toolBar_->toggleViewAction()->setVisible(false);
  actions_.fileNew->setIcon(standardIcon(this, "document-new", QStyle::SP_FileIcon));
  actions_.fileOpen->setIcon(standardIcon(this, "document-open", QStyle::SP_DialogOpenButton));
  actions_.fileSave->setIcon(standardIcon(this, "document-save", QStyle::SP_DialogSaveButton));
  actions_.cmdNew->setIcon(standardIcon(this, "list-add", QStyle::SP_FileDialogNewFolder));
  actions_.cmdEdit->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
  actions_.cmdDelete->setIcon(standardIcon(this, "edit-delete", QStyle::SP_TrashIcon));
  actions_.cmdPlay->setIcon(playIcon());
  actions_.filePrint->setIcon(standardIcon(this, "document-print-symbolic", QStyle::SP_FileDialogContentsView));
  actions_.help->setIcon(standardIcon(this, "help-contents", QStyle::SP_DialogHelpButton));
  toolBar_->addActions({actions_.fileNew, actions_.fileOpen, actions_.fileSave});
  toolBar_->addSeparator();
  toolBar_->addActions({actions_.undo, actions_.redo});
  toolBar_->addSeparator();
  toolBar_->addActions({actions_.cmdNew, actions_.cmdEdit, actions_.cmdDelete, actions_.cmdPlay});
  toolBar_->addSeparator();
  toolBar_->addAction(actions_.filePrint);
  toolBar_->addSeparator();
  toolBar_->addAction(actions_.help);
  addToolBar(Qt::TopToolBarArea, toolBar_);
}

void CMainFrame::buildStatusBar() {
  // The "Ready" pane is an ordinary status widget: prompts cover it while
  // they are shown.
  auto* ready = new QLabel(QStringLiteral("Ready"), statusBar());
  statusBar()->addWidget(ready, 1);
  connect(statusBar(), &QStatusBar::messageChanged, ready,
          [ready](const QString& text) { ready->setVisible(text.isEmpty()); });
  new LockIndicators(*statusBar());
}

void CMainFrame::buildKeys() {
  // Enter, Space and Delete act on the list only while it has the focus, so
  // that another pane can give them meanings of its own; the menu items show
  // only their own texts.
  const auto key = [this](const QKeySequence& sequence, void (CMainFrame::*slot)()) {
    auto* shortcut = new QShortcut(sequence, view_);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    connect(shortcut, &QShortcut::activated, this, slot);
  };
  key(QKeySequence(Qt::Key_Return), &CMainFrame::commandEdit);
  key(QKeySequence(Qt::Key_Enter), &CMainFrame::commandEdit);
  key(QKeySequence(Qt::Key_Delete), &CMainFrame::commandDelete);
  // In the list Space plays the current command's wave file; in the timeline
  // it plays the film sound from the playhead.
  key(QKeySequence(Qt::Key_Space), &CMainFrame::commandPlay);
  // F6 and Shift+F6 move the focus to the next and previous pane.
  connect(new QShortcut(QKeySequence(Qt::Key_F6), this), &QShortcut::activated, this, [this] { focusPane(1); });
  connect(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6), this), &QShortcut::activated, this,
          [this] { focusPane(-1); });
}

void CMainFrame::focusPane(int step) {
  // The panes: the list, the timeline, then every visible dock widget in the order made.
  std::vector<QWidget*> panes{view_};
  if (timeline_->pane()->isVisible()) panes.push_back(timeline_->view());
  for (QDockWidget* dock : findChildren<QDockWidget*>()) {
    if (dock->isVisible() && dock->widget()) panes.push_back(dock->widget());
  }
  size_t at = 0;
  for (size_t i = 0; i < panes.size(); ++i) {
    if (panes[i] == focusWidget() || panes[i]->isAncestorOf(focusWidget())) at = i;
  }
  const size_t next = (at + panes.size() + size_t(step + int(panes.size()))) % panes.size();
  panes[next]->setFocus(Qt::ShortcutFocusReason);
}

void CMainFrame::updateView() {
  model_->documentChanged();
  if (document_.path() != shownPath_) {
    // Another document: the timeline shows the film sound remembered for it.
    shownPath_ = document_.path();
    timeline_->documentOpened();
  }
  if (firstUpdate_) {
    firstUpdate_ = false;
    resize(view_->applyColumnWidths() + 12, height());
  }
  // "scene.qtd* - Quorlin VTQ Editor" while there are unsaved changes.
  setWindowTitle(QString::fromStdString(document_.title()) + QStringLiteral("[*] - ") +
                 QString::fromUtf8(kApplicationTitle));
  followUndoStack();
  updateRecentMenu();
}

void CMainFrame::documentReplaced() {
  // Restored unsaved changes (a recovery file) stay unsaved: no state of the
  // fresh stack is the saved one.
  const bool restored = document_.isModified();
  undoStack_->clear();
  if (restored) {
    undoStack_->resetClean();
  } else {
    undoStack_->setClean();
  }
  updateView();
  view_->makeCurrent(0);
  view_->setFocus();
  // A document at another rate (written by another program) would fail every
  // New and Edit without saying why.
  const int rate = document_.sampleRate();
  if (rate != 44100 && rate != 48000) {
    const int chosen = prompts_.unusualRate(QString::fromStdString(document_.title()), rate);
    if (chosen != 0) setSampleRate(chosen);
  }
}

bool CMainFrame::saveIfModified() {
  if (!flows_.saveModified()) return false;
  if (!document_.isModified()) undoStack_->setClean();
  return true;
}

void CMainFrame::updateRecentMenu() {
  const QStringList& entries = recent_.entries();
  recentPlaceholder_->setVisible(entries.isEmpty());
  for (size_t i = 0; i < recentActions_.size(); ++i) {
    recentActions_[i]->setVisible(int(i) < entries.size());
    recentActions_[i]->setText(recent_.menuText(int(i)));
  }
}

}  // namespace vtq
