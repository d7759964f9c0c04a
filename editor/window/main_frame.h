// The editor's main window: the command list as its only view, the menus,
// the toolbar, the status line and the keys, with the document's file and
// command operations behind them.
#pragma once

#include <QtCore/QPointer>
#include <QtPrintSupport/QPrinter>
#include <QtWidgets/QMainWindow>
#include <array>

#include "document_flows.h"
#include "help_dlg.h"
#include "list_printer.h"

class QMenu;
class QToolBar;
class QUndoStack;

namespace vtq {

class CommandListView;
class CommandTableModel;
class SoundPlayer;
class TimelineController;

// What the frame works with; all of it outlives the frame.
struct FrameContext {
  CQuorlinVTQEditorDoc& document;
  WindowPrompts& prompts;
  RecentFiles& recent;
  SoundPlayer& player;
};

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  explicit CMainFrame(FrameContext context, QWidget* parent = nullptr);
  ~CMainFrame() override;

  DocumentFlows& flows() { return flows_; }
  CommandListView* listView() const { return view_; }
  CommandTableModel* tableModel() const { return model_; }
  CHelpDlg* helpWindow() const { return help_; }
  QMenu* commandMenu() const { return commandMenu_; }
  TimelineController* timeline() const { return timeline_; }
  QUndoStack* undoStack() const { return undoStack_; }

  // Shows the document again: rows (no row selected afterwards), the rate's
  // check mark, the title and the recent files. The first update also sizes
  // the frame to the list's columns.
  void updateView();

  // The command operations, as the menu, toolbar, keys and mouse run them.
  void commandNew();
  void commandEdit();
  void commandDelete();
  void commandPlay();
  void setSampleRate(int rate);
  // Prints the list onto `printer` (print, preview and PDF all come here).
  bool printTo(QPrinter& printer);
  void showHelp();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  QAction* makeAction(const char* text, const char* prompt, void (CMainFrame::*slot)());
  void buildFileMenu();
  void buildOtherMenus();
  void buildToolBar();
  void buildStatusBar();
  void buildKeys();
  void updateRecentMenu();
  CListPrinter prepareListPrinter() const;
  void openAfterQuestion(const QString& path);

  void fileNew();
  void fileOpen();
  void fileSave();
  void fileSaveAs();
  void filePrint();
  void filePrintPreview();
  void filePrintSetup();
  void fileRenderCueTrack();
  void fileCheckSoundTrack();
  void showAbout();

  CQuorlinVTQEditorDoc& document_;
  WindowPrompts& prompts_;
  RecentFiles& recent_;
  SoundPlayer& player_;
  DocumentFlows flows_;
  CommandTableModel* model_;
  CommandListView* view_;
  QUndoStack* undoStack_;
  TimelineController* timeline_ = nullptr;
  std::filesystem::path shownPath_;  // the document the timeline was set up for
  QMenu* commandMenu_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QAction* rate44100_ = nullptr;
  QAction* rate48000_ = nullptr;
  QAction* recentPlaceholder_ = nullptr;
  std::array<QAction*, RecentFiles::kMaxEntries> recentActions_{};
  struct Actions {
    QAction *fileNew, *fileOpen, *fileSave, *filePrint, *cmdNew, *cmdEdit, *cmdDelete, *cmdPlay, *help;
  } actions_{};
  QPrinter printer_{QPrinter::HighResolution};
  QPointer<CHelpDlg> help_;
  bool firstUpdate_ = true;
};

}  // namespace vtq
