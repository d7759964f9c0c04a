// The main frame's command operations (New, Edit, Delete, Play, the sample
// rate) and its side of the undo steps: each change asks its questions first,
// then goes onto the undo stack as one step.
#include <QtGui/QUndoStack>
#include <QtWidgets/QStatusBar>

#include "command_list_view.h"
#include "command_table_model.h"
#include "core/document.h"
#include "main_frame.h"
#include "sound_player.h"

namespace vtq {
namespace {

QString clashText(const ConflictPair& pair) {
  return QStringLiteral("It overlaps %1 at %2.")
      .arg(QString::fromStdString(pair.otherName), QString::fromStdString(pair.otherTime.text()));
}

}  // namespace

void CMainFrame::push(QUndoCommand* step) { undoStack_->push(step); }

void CMainFrame::followUndoStack() {
  document_.setModified(!undoStack_->isClean());
  setWindowModified(document_.isModified());
  rate44100_->setChecked(document_.sampleRate() == 44100);
  rate48000_->setChecked(document_.sampleRate() == 48000);
}

void CMainFrame::waveFilesFailed(const std::vector<std::string>& messages) {
  QStringList lines;
  for (const std::string& message : messages) lines << QString::fromStdString(message);
  prompts_.error(QStringLiteral("These wave files could not be written:"), lines.join(QLatin1Char('\n')));
}

void CMainFrame::commandsChanged(const std::vector<CommandSerial>& serials) {
  if (!serials.empty()) {
    selectSerials(serials);
    return;
  }
  // Commands went out: the command after them becomes current and selected
  // (the last one when they were at the end).
  const int rows = model_->rowCount();
  const int row = removedAt_ >= 0 ? removedAt_ : std::max(view_->currentIndex().row(), 0);
  removedAt_ = -1;
  if (rows > 0) view_->makeCurrent(std::min(row, rows - 1));
}

std::vector<CommandSerial> CMainFrame::selectedSerials() const {
  std::vector<CommandSerial> serials;
  for (const int row : view_->selectedRows()) serials.push_back(document_.commandAt(size_t(row))->serial());
  return serials;
}

void CMainFrame::selectSerials(const std::vector<CommandSerial>& serials) {
  QItemSelection selection;
  int first = -1;
  for (const CommandSerial serial : serials) {
    const size_t row = document_.rowOf(serial);
    if (row == std::string::npos) continue;
    selection.select(model_->index(int(row), 0), model_->index(int(row), model_->columnCount() - 1));
    if (first < 0) first = int(row);
  }
  if (first < 0) return;
  view_->makeCurrent(first);
  view_->selectionModel()->select(selection, QItemSelectionModel::Select);
}

ConflictChoice CMainFrame::askConflict(const ConflictPair& pair, bool retry) {
  return prompts_.conflictWith(clashText(pair), retry);
}

bool CMainFrame::makeWaveLocked(CCommand& command, std::string& error) {
  const WaveWriteLock::Scope lock(waveLock_, document_.path());
  if (!lock.held()) {
    error = lock.error();
    return false;
  }
  return command.MakeWave(error);
}

// Shows the command's dialog until it is cancelled (false), or accepted
// without a conflict the user refuses and with its wave file written (true).
// The wave file is written before the command goes in, so that an aborted
// command never replaces the wave file of the command it collides with.
bool CMainFrame::editUntilWritten(CCommand& command, const ConflictTest& wouldConflict) {
  for (;;) {
    if (!prompts_.editCommand(command)) return false;
    ConflictPair pair;
    if (wouldConflict(command, &pair)) {
      const ConflictChoice choice = askConflict(pair, true);
      if (choice == ConflictChoice::Abort) return false;
      if (choice == ConflictChoice::Retry) continue;
    }
    std::string error;
    if (makeWaveLocked(command, error)) return true;
    if (!prompts_.waveFailed(error)) return false;
  }
}

void CMainFrame::commandNew() {
  std::unique_ptr<CCommand> command = document_.proposeNewCommand();
  const auto conflicts = [this](const CCommand& c, ConflictPair* pair) {
    return insertWouldConflict(document_, c, pair);
  };
  if (!editUntilWritten(*command, conflicts)) return;
  std::vector<std::unique_ptr<CCommand>> commands;
  commands.push_back(std::move(command));
  push(new InsertCommandsStep(*this, std::move(commands), QStringLiteral("New")));
}

void CMainFrame::commandEdit() {
  const std::optional<int> row = view_->selectedRow();
  if (!row) return;
  // The original stays in the list, as it is, while the dialog is open.
  const CCommand& original = *document_.commandAt(size_t(*row));
  const CommandSerial serial = original.serial();
  auto command = std::make_unique<CCommand>(original);
  const auto conflicts = [this, serial](const CCommand& c, ConflictPair* pair) {
    return replaceWouldConflict(document_, serial, c, pair);
  };
  if (!editUntilWritten(*command, conflicts)) return;
  push(new ReplaceCommandStep(*this, serial, std::move(command), QStringLiteral("Edit")));
}

void CMainFrame::commandDelete() {
  std::vector<CommandSerial> serials = selectedSerials();
  if (serials.empty()) return;
  push(new RemoveCommandsStep(*this, std::move(serials), QStringLiteral("Delete")));
}

void CMainFrame::commandPlay() {
  const std::optional<int> row = view_->selectedRow();
  const CCommand* command = row ? document_.commandAt(size_t(*row)) : nullptr;
  if (!command) return;
  if (command->fileName().empty()) {
    statusBar()->showMessage(QStringLiteral("This command has no wave file yet."), 5000);
    return;
  }
  const std::filesystem::path wave = document_.directory() / command->fileName();
  const QString path = QString::fromStdString(wave.string());
  if (!std::filesystem::is_regular_file(wave)) {
    statusBar()->showMessage(QStringLiteral("The wave file %1 is missing.").arg(path), 5000);
  } else if (!SoundPlayer::hasAudioOutput()) {
    statusBar()->showMessage(QStringLiteral("No sound device: %1 cannot be played.").arg(path), 5000);
  } else if (!player_.playFile(path)) {
    statusBar()->showMessage(QStringLiteral("%1 could not be played.").arg(path), 5000);
  }
}

void CMainFrame::setSampleRate(int rate) {
  if (rate == document_.sampleRate()) {
    followUndoStack();  // the menu keeps its check mark on the current rate
    return;
  }
  push(new SampleRateStep(*this, rate, QStringLiteral("Sample Rate")));
}

}  // namespace vtq
