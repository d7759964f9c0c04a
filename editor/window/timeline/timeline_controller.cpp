#include "timeline_controller.h"

#include <QtCore/QFileInfo>
#include <QtCore/QItemSelectionModel>
#include <QtCore/QSettings>
#include <QtGui/QActionGroup>
#include <QtGui/QUndoStack>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QMenu>
#include <QtWidgets/QStatusBar>
#include <QtWidgets/QTableView>

#include "core/check_marks.h"
#include "core/document.h"
#include "window/window_prompts.h"

namespace vtq {
namespace {

QString documentKey(const CQuorlinVTQEditorDoc& document) { return QString::fromStdString(document.path().string()); }

}  // namespace

TimelineController::TimelineController(TimelineWiring wiring, QObject* parent)
    : QObject(parent),
      document_(wiring.document),
      windowPrompts_(wiring.prompts),
      frame_(wiring.frame),
      list_(wiring.list),
      undoContext_(wiring.undoContext),
      undo_(wiring.undo),
      refreshList_(std::move(wiring.refreshList)),
      pane_(new TimelinePane(wiring.document, &wiring.frame)),
      dialogs_(&wiring.frame),
      prompts_(&dialogs_) {
  pane_->hide();
  view()->setSelectionModel(list_.selectionModel());
  if (QItemSelectionModel* selection = list_.selectionModel()) {
    connect(selection, &QItemSelectionModel::selectionChanged, this, [this] {
      if (!refreshing_) selected_ = view()->selectedSerials();
    });
  }
  auto* playhead = new QLabel(QStringLiteral("Playhead 00:00:00:00"), &frame_);
  frame_.statusBar()->addPermanentWidget(playhead);
  connect(view(), &TimelineView::playheadMoved, playhead, [playhead](CSMPTETime time) {
    playhead->setText(QStringLiteral("Playhead %1").arg(QString::fromStdString(time.text())));
  });
  connect(view(), &TimelineView::moveRequested, this,
          [this](const std::vector<CommandSerial>& serials, int64_t frames) { moveCommandsBy(serials, frames); });
  connect(view(), &TimelineView::dragging, this, [this](const QString& text) {
    if (text.isEmpty()) {
      frame_.statusBar()->clearMessage();
    } else {
      frame_.statusBar()->showMessage(QStringLiteral("Move to %1").arg(text));
    }
  });
  connect(view(), &TimelineView::newAtPlayheadRequested, this, &TimelineController::newAtPlayhead);
  connect(view(), &TimelineView::playRequested, pane_, &TimelinePane::togglePlayback);
  if (wiring.editCurrent) connect(view(), &TimelineView::editRequested, this, wiring.editCurrent);
  if (wiring.deleteSelected) connect(view(), &TimelineView::deleteRequested, this, wiring.deleteSelected);
  connect(pane_, &TimelinePane::statusMessage, this, &TimelineController::status);
  // Undo and redo change the list: it is shown again, with the same commands selected.
  connect(&undo_, &QUndoStack::indexChanged, this, [this] { afterChange(selected_); });
}

TimelineController::~TimelineController() = default;

void TimelineController::addFileItems(QMenu& file) {
  QAction* open = file.addAction(QStringLiteral("Open &Film Sound..."), this, &TimelineController::openFilmSoundDialog);
  open->setStatusTip(QStringLiteral("Show the film's sound track under the list"));
  startAction_ =
      file.addAction(QStringLiteral("Film Sound &Start..."), this, &TimelineController::filmSoundStartDialog);
  startAction_->setStatusTip(QStringLiteral("Set the time code of the film sound's first sample"));
  startAction_->setEnabled(false);
}

void TimelineController::addViewItems(QMenu& view) {
  view.addSeparator();
  showTimeline_ = view.addAction(QStringLiteral("T&imeline"));
  showTimeline_->setCheckable(true);
  showTimeline_->setStatusTip(QStringLiteral("Show or hide the timeline of the film sound"));
  connect(showTimeline_, &QAction::toggled, this, [this](bool on) { pane_->setVisible(on); });
  channelMenu_ = view.addMenu(QStringLiteral("&Channel"));
  channelGroup_ = new QActionGroup(this);
  rebuildChannelMenu();
  QAction* volume = view.addAction(QStringLiteral("Cue &Volume..."), this, [this] {
    if (const auto percent = prompts_->cueVolume(int(std::lround(pane_->cueVolume() * 100))))
      pane_->setCueVolume(*percent / 100.0f);
  });
  volume->setStatusTip(QStringLiteral("Set how loud the cue track plays with the film sound"));
  muteCues_ = view.addAction(QStringLiteral("&Mute Cues"));
  muteCues_->setCheckable(true);
  muteCues_->setStatusTip(QStringLiteral("Play the film sound without the cue track"));
  connect(muteCues_, &QAction::toggled, pane_, &TimelinePane::setCueMuted);
}

void TimelineController::addCommandItems(QMenu& command) {
  QAction* action = command.addAction(QStringLiteral("New at Play&head..."), this, &TimelineController::newAtPlayhead);
  action->setStatusTip(QStringLiteral("Add a copy of the current command at the playhead's time"));
}

void TimelineController::rebuildChannelMenu() {
  if (!channelMenu_) return;
  channelMenu_->clear();
  const int channels = pane_->sound() ? pane_->sound()->format().channels : 0;
  for (int c = 0; c <= channels; ++c) {
    QAction* action =
        channelMenu_->addAction(c == 0 ? QStringLiteral("&All Channels") : QStringLiteral("Channel &%1").arg(c));
    action->setCheckable(true);
    action->setChecked(c == (pane_->channel() ? *pane_->channel() + 1 : 0));
    channelGroup_->addAction(action);
    connect(action, &QAction::triggered, this,
            [this, c] { setChannel(c == 0 ? std::nullopt : std::optional<uint16_t>(uint16_t(c - 1))); });
  }
  channelMenu_->setEnabled(channels > 0);
}

void TimelineController::showPane(bool on) {
  if (showTimeline_) {
    showTimeline_->setChecked(on);
  } else {
    pane_->setVisible(on);
  }
}

void TimelineController::documentOpened() {
  pane_->closeSound();
  view()->setMarks({});
  userStart_.reset();
  rebuildChannelMenu();
  if (startAction_) startAction_->setEnabled(false);
  QSettings settings;
  FilmSoundSettings remembered(settings);
  const auto association = remembered.find(documentKey(document_));
  if (!association) {
    view()->setSound(nullptr, nullptr, std::nullopt, CSMPTETime());
    return;
  }
  QString error;
  const std::optional<CSMPTETime> start =
      association->startFrames ? std::optional<CSMPTETime>(CSMPTETime(uint32_t(*association->startFrames)))
                               : std::nullopt;
  const ChannelChoice channel =
      association->channel > 0 ? std::optional<uint16_t>(uint16_t(association->channel - 1)) : std::nullopt;
  if (!pane_->openSound(association->sound, start, channel, error)) {
    // Said once: the association is forgotten.
    remembered.forget(documentKey(document_));
    windowPrompts_.error(QStringLiteral("The film sound could not be opened."), error);
    return;
  }
  userStart_ = association->startFrames;
  if (startAction_) startAction_->setEnabled(true);
  rebuildChannelMenu();
  showPane(true);
}

bool TimelineController::openFilmSound(const QString& path) {
  QString error;
  if (!pane_->openSound(path, std::nullopt, std::nullopt, error)) {
    windowPrompts_.error(QStringLiteral("The film sound could not be opened."), error);
    return false;
  }
  userStart_.reset();
  view()->setMarks({});
  remember();
  rebuildChannelMenu();
  if (startAction_) startAction_->setEnabled(true);
  showPane(true);
  const FilmSoundFormat& format = pane_->sound()->format();
  status(QStringLiteral("Film sound %1: %2 Hz, %3 channels, %4 bits, from %5")
             .arg(QFileInfo(path).fileName())
             .arg(format.sampleRate)
             .arg(format.channels)
             .arg(format.bitsPerSample)
             .arg(QString::fromStdString(pane_->start().text())));
  return true;
}

void TimelineController::openFilmSoundDialog() {
  const QString path = prompts_->filmSoundName(QString::fromStdString(document_.directory().string()));
  if (!path.isEmpty()) openFilmSound(path);
}

void TimelineController::filmSoundStartDialog() {
  if (!pane_->sound()) return;
  const auto start = prompts_->filmSoundStart(pane_->start(), pane_->soundStart());
  if (!start) return;
  pane_->setStart(*start);
  userStart_ = *start == pane_->soundStart() ? std::nullopt : std::optional<int>(start->frameCount());
  remember();
}

void TimelineController::setChannel(ChannelChoice channel) {
  pane_->setChannel(channel);
  remember();
  rebuildChannelMenu();
}

void TimelineController::remember() {
  if (document_.path().empty() || !pane_->sound()) return;
  QSettings settings;
  FilmSoundAssociation association;
  association.sound = QString::fromStdString(pane_->sound()->path().string());
  association.startFrames = userStart_;
  association.channel = pane_->channel() ? *pane_->channel() + 1 : 0;
  FilmSoundSettings(settings).remember(documentKey(document_), association);
}

std::optional<std::pair<QString, CueCheckOptions>> TimelineController::checkDefaults() const {
  if (!pane_->sound()) return std::nullopt;
  CueCheckOptions options;
  options.start = pane_->start();
  if (pane_->channel()) options.channel = uint16_t(*pane_->channel() + 1);
  return std::pair{QString::fromStdString(pane_->sound()->path().string()), options};
}

void TimelineController::showCheck(const CueCheckReport& report) { view()->setMarks(marksFromReport(report)); }

void TimelineController::newAtPlayhead() {
  // A copy of the current command (as New copies the last one), at the playhead.
  const QModelIndex current = list_.selectionModel() ? list_.selectionModel()->currentIndex() : QModelIndex();
  const CCommand* model = current.isValid() ? document_.commandAt(size_t(current.row())) : nullptr;
  auto command = model ? std::make_unique<CCommand>(*model) : std::make_unique<CCommand>(&document_);
  command->MoveStart(view()->playheadTime());
  for (;;) {
    if (!windowPrompts_.editCommand(*command)) return;
    if (!insertWouldConflict(document_, *command)) break;
    const ConflictChoice choice = windowPrompts_.conflict(kConflictWarning);
    if (choice == ConflictChoice::Abort) return;
    if (choice == ConflictChoice::Ignore) break;
  }
  std::vector<std::unique_ptr<CCommand>> commands;
  commands.push_back(std::move(command));
  auto* step = new InsertCommandsStep(undoContext_, std::move(commands), QStringLiteral("New at Playhead"));
  undo_.push(step);
  afterChange(step->serials());
}

bool TimelineController::moveCommandsBy(const std::vector<CommandSerial>& serials, int64_t frames) {
  if (serials.empty() || frames == 0) return false;
  // The move is tried first, so that a conflict is asked about before the
  // undo step exists; the step then makes it (and writes the wave files).
  const EditResult tried = moveCommands(document_, serials, frames, ConflictPolicy::Refuse);
  if (tried.status == EditStatus::OutOfRange || tried.status == EditStatus::NotFound) {
    status(QStringLiteral("The commands cannot move outside 00:00:00:00 to 23:59:59:24."));
    return false;
  }
  if (tried.status == EditStatus::Conflict) {
    if (windowPrompts_.conflict(kConflictWarning) != ConflictChoice::Ignore) {
      view()->update();
      return false;
    }
  } else {
    moveCommands(document_, serials, -frames, ConflictPolicy::Ignore);
  }
  undo_.push(new MoveCommandsStep(undoContext_, serials, frames, QStringLiteral("Move")));
  afterChange(serials);
  return true;
}

void TimelineController::afterChange(std::vector<CommandSerial> select) {
  refreshing_ = true;
  if (refreshList_) refreshList_();
  refreshing_ = false;
  QItemSelectionModel* selection = list_.selectionModel();
  if (selection && selection->model()) {
    QItemSelection rows;
    for (const CommandSerial serial : select) {
      const size_t row = document_.rowOf(serial);
      if (row >= document_.commandCount()) continue;
      const QModelIndex index = selection->model()->index(int(row), 0);
      rows.select(index, index);
    }
    if (!rows.isEmpty()) {
      selection->setCurrentIndex(rows.first().topLeft(), QItemSelectionModel::NoUpdate);
      selection->select(rows, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
      list_.scrollTo(rows.first().topLeft());
    }
  }
  selected_ = std::move(select);
  view()->update();
}

bool TimelineController::timelineHasFocus() const { return pane_->isVisible() && view()->hasFocus(); }

void TimelineController::switchFocus() {
  if (view()->hasFocus()) {
    list_.setFocus(Qt::TabFocusReason);
    return;
  }
  showPane(true);
  view()->setFocus(Qt::TabFocusReason);
}

void TimelineController::status(const QString& text) { frame_.statusBar()->showMessage(text, 8000); }

}  // namespace vtq
