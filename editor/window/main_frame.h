// The editor's main window: the command list as its only view, the menus,
// the toolbar, the status line and the keys, with the document's file and
// command operations behind them.
#pragma once

#include <QtCore/QPointer>
#include <QtPrintSupport/QPrinter>
#include <QtWidgets/QMainWindow>
#include <array>
#include <functional>

#include "document_flows.h"
#include "help_dlg.h"
#include "list_printer.h"
#include "undo_commands.h"

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

class CMainFrame : public QMainWindow, private UndoContext {
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
  QMenu* editMenu() const { return editMenu_; }
  // Every change of the document goes onto this stack as one step (see
  // undo_commands.h); its clean state is the document's saved state. Other
  // panes push their steps here with undoContext().
  QUndoStack* undoStack() const { return undoStack_; }
  UndoContext& undoContext() { return *this; }

  // Shows the document again: the rows' texts, the rate's check mark, the
  // title and the recent files. The first update also sizes the frame to the
  // list's columns.
  void updateView();
  // The document was replaced (New, Open, Reload, Restore): the undo steps
  // are forgotten, the list shows the new document with its first row
  // current. A restored document keeps its unsaved state.
  void documentReplaced();

  // The command operations, as the menu, toolbar, keys and mouse run them.
  // Edit and Play act on the current row, Delete on every selected row.
  void commandNew();
  void commandEdit();
  void commandDelete();
  void commandPlay();
  void setSampleRate(int rate);
  // Many commands at once: the clipboard (every selected command), Shift
  // Times, Go to Time, Make All Wave Files, and the list's export and import.
  void editCut();
  void editCopy();
  void editPaste();
  void shiftTimes();
  void goToTime();
  void makeAllWaveFiles();
  void exportList();
  void importList();
  // Prints the list onto `printer` (print, preview and PDF all come here).
  bool printTo(QPrinter& printer);
  void showHelp();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // UndoContext
  CQuorlinVTQEditorDoc& document() override { return document_; }
  WaveWriteLock& waveLock() override { return waveLock_; }
  void waveFilesFailed(const std::vector<std::string>& messages) override;
  void commandsChanged(const std::vector<CommandSerial>& serials) override;

  // Runs `step` (redo) and keeps it for undo.
  void push(QUndoCommand* step);
  // The document's modified state and the title follow the undo stack.
  void followUndoStack();
  // Writes the wave file of a command from the New or Edit dialog under the
  // document's lock; false with `error` (the locked file, or why the file
  // could not be written), and the dialog's command is kept for a Retry.
  bool makeWaveLocked(CCommand& command, std::string& error);
  // Shows the New or Edit dialog until it is cancelled (false) or its
  // command is accepted and its wave file written (true).
  using ConflictTest = std::function<bool(const CCommand&, ConflictPair*)>;
  bool editUntilWritten(CCommand& command, const ConflictTest& wouldConflict);
  // Asks the conflict question for `pair`; `retry` offers Retry as well.
  ConflictChoice askConflict(const ConflictPair& pair, bool retry);
  // The question before a modified document is discarded; a save made there
  // is the stack's clean state.
  bool saveIfModified();
  std::vector<CommandSerial> selectedSerials() const;
  // The commands a shift of `scope` moves.
  std::vector<CommandSerial> shiftSerials(ShiftScope scope) const;
  // Puts `commands` in as one step after asking once about an overlap (Abort
  // or Ignore). False when the user aborted.
  bool insertWithQuestion(std::vector<std::unique_ptr<CCommand>> commands, const QString& text);
  void selectSerials(const std::vector<CommandSerial>& serials);

  QAction* makeAction(const char* text, const char* prompt, void (CMainFrame::*slot)());
  void buildFileMenu();
  void buildEditMenu();
  void buildOtherMenus();
  void buildToolBar();
  void buildStatusBar();
  void buildKeys();
  // Moves the focus `step` panes on (F6) or back (Shift+F6).
  void focusPane(int step);
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
  WaveWriteLock waveLock_;
  DocumentFlows flows_;
  CommandTableModel* model_;
  CommandListView* view_;
  QUndoStack* undoStack_;
  TimelineController* timeline_ = nullptr;
  std::filesystem::path shownPath_;  // the document the timeline was set up for
  QMenu* commandMenu_ = nullptr;
  QMenu* editMenu_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QAction* rate44100_ = nullptr;
  QAction* rate48000_ = nullptr;
  QAction* recentPlaceholder_ = nullptr;
  std::array<QAction*, RecentFiles::kMaxEntries> recentActions_{};
  struct Actions {
    QAction *fileNew, *fileOpen, *fileSave, *filePrint, *cmdNew, *cmdEdit, *cmdDelete, *cmdPlay, *help, *undo, *redo;
  } actions_{};
  QPrinter printer_{QPrinter::HighResolution};
  QPointer<CHelpDlg> help_;
  bool firstUpdate_ = true;
  int removedAt_ = -1;
  std::vector<int> columnWidths_;  // kept through a model reset  // the lowest row a step took out, until the step ends
};

}  // namespace vtq
