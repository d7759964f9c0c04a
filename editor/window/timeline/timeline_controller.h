// The timeline's part of the main window: its pane under the list, its menu
// items (File > Open Film Sound..., Film Sound Start..., View > Timeline,
// View > Channel, the cue volume, Command > New at Playhead), the film sound
// remembered per document, and the changes it makes, each one undo step of
// the window's stack.
#pragma once

#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <functional>
#include <memory>

#include "core/cue_check.h"
#include "film_sound_prompts.h"
#include "film_sound_settings.h"
#include "timeline_pane.h"
#include "window/undo_commands.h"

class QAction;
class QActionGroup;
class QMainWindow;
class QMenu;
class QTableView;
class QUndoStack;

namespace vtq {

class WindowPrompts;

struct TimelineWiring {
  CQuorlinVTQEditorDoc& document;
  WindowPrompts& prompts;
  QMainWindow& frame;
  QTableView& list;
  UndoContext& undoContext;  // what the steps work on
  QUndoStack& undo;
  // Shows the document again after a change (the list's texts).
  std::function<void()> refreshList;
  // Enter and Delete in the timeline: Edit the current command, Delete the selected ones.
  std::function<void()> editCurrent;
  std::function<void()> deleteSelected;
};

class TimelineController : public QObject {
  Q_OBJECT

 public:
  TimelineController(TimelineWiring wiring, QObject* parent = nullptr);
  ~TimelineController() override;

  TimelinePane* pane() const { return pane_; }
  TimelineView* view() const { return pane_->view(); }
  void setPrompts(FilmSoundPrompts* prompts) { prompts_ = prompts; }

  void addFileItems(QMenu& file);
  void addViewItems(QMenu& view);
  void addCommandItems(QMenu& command);

  // A document was opened or created: its remembered film sound comes back
  // (a missing file is reported once and forgotten).
  void documentOpened();
  // The document was saved under another name: its film sound goes with it.
  void documentRenamed() { remember(); }
  // Opens `path` as the film sound of the document and remembers it.
  bool openFilmSound(const QString& path);
  void openFilmSoundDialog();
  void filmSoundStartDialog();
  void setChannel(ChannelChoice channel);

  // Where Check Sound Track looks by default: the open film sound, its start
  // and channel (none without a film sound).
  std::optional<std::pair<QString, CueCheckOptions>> checkDefaults() const;
  // The check's result becomes the timeline's marks.
  void showCheck(const CueCheckReport& report);

  void newAtPlayhead();
  // Moves the commands by `frames` as one undo step; a conflict is asked
  // once. False when nothing moved.
  bool moveCommandsBy(const std::vector<CommandSerial>& serials, int64_t frames);

  bool timelineHasFocus() const;
  // F6 and Shift+F6: the focus goes from the list to the timeline and back.
  void switchFocus();
  void togglePlayback() { pane_->togglePlayback(); }

 private:
  void remember();
  void rebuildChannelMenu();
  void showPane(bool on);
  // Shows the list again after a change and selects `select` in it.
  void afterChange(std::vector<CommandSerial> select);
  void status(const QString& text);

  CQuorlinVTQEditorDoc& document_;
  WindowPrompts& windowPrompts_;
  QMainWindow& frame_;
  QTableView& list_;
  UndoContext& undoContext_;
  QUndoStack& undo_;
  std::function<void()> refreshList_;
  TimelinePane* pane_;
  FilmSoundDialogs dialogs_;
  FilmSoundPrompts* prompts_;
  std::optional<int> userStart_;
  std::vector<CommandSerial> selected_;  // the selection, by serial, as it was before a change
  bool refreshing_ = false;              // a start set by Film Sound Start...
  QAction* showTimeline_ = nullptr;
  QAction* startAction_ = nullptr;
  QAction* muteCues_ = nullptr;
  QMenu* channelMenu_ = nullptr;
  QActionGroup* channelGroup_ = nullptr;
};

}  // namespace vtq
