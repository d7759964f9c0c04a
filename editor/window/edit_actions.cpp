// The main frame's operations on many commands at once: Cut, Copy and Paste
// through the clipboard, Shift Times, Go to Time, Make All Wave Files, and the
// command list's export and import. Each change asks its questions first and
// then goes onto the undo stack as one step.
#include <QtCore/QMimeData>
#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>
#include <QtGui/QUndoStack>
#include <QtWidgets/QStatusBar>

#include "command_clipboard.h"
#include "command_list_view.h"
#include "command_table_model.h"
#include "common/safe_file_writer.h"
#include "common/stream_input.h"
#include "core/document.h"
#include "core/program_name.h"
#include "edit_trial.h"
#include "main_frame.h"

namespace vtq {
namespace {

constexpr const char* kOutOfDay = "The commands cannot be moved outside 00:00:00:00 to 23:59:59:24.";

std::vector<const CCommand*> commandsOf(const CQuorlinVTQEditorDoc& document, const std::vector<int>& rows) {
  std::vector<const CCommand*> commands;
  for (const int row : rows) commands.push_back(document.commandAt(size_t(row)));
  return commands;
}

QString commandText(const CCommand* command) {
  if (!command) return {};
  return QStringLiteral("%1 at %2")
      .arg(QString::fromStdString(command->commandName()), QString::fromStdString(command->insertTime().text()));
}

// Moves every command by `frames`, unless one would leave the day.
bool moveAll(std::vector<std::unique_ptr<CCommand>>& commands, int64_t frames) {
  for (const auto& command : commands) {
    const int64_t insert = command->insertTime().frameCount() + frames;
    const int64_t response = command->effectiveResponseTime().frameCount() + frames;
    if (insert < 0 || response < 0 || insert >= CSMPTETime::kFramesPerDay || response >= CSMPTETime::kFramesPerDay)
      return false;
  }
  for (auto& command : commands) command->MoveStart(CSMPTETime(uint32_t(command->insertTime().frameCount() + frames)));
  return true;
}

}  // namespace

void CMainFrame::editCopy() {
  const std::vector<int> rows = view_->selectedRows();
  if (rows.empty()) return;
  QGuiApplication::clipboard()->setMimeData(commandsMimeData(commandsOf(document_, rows)).release());
}

void CMainFrame::editCut() {
  std::vector<CommandSerial> serials = selectedSerials();
  if (serials.empty()) return;
  editCopy();
  push(new RemoveCommandsStep(*this, std::move(serials), QStringLiteral("Cut")));
}

void CMainFrame::editPaste() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  std::vector<std::unique_ptr<CCommand>> commands;
  ListReadError error;
  if (!data || !commandsFromMimeData(*data, commands, error)) {
    prompts_.error(QStringLiteral("The clipboard holds no commands to paste."),
                   QString::fromStdString(describeListError("clipboard", error)));
    return;
  }
  // The first pasted command begins right after the current command's
  // transmission; the others keep their spacing.
  if (const std::optional<int> row = view_->selectedRow()) {
    const CCommand& current = *document_.commandAt(size_t(*row));
    CSMPTETime earliest = commands.front()->insertTime();
    for (const auto& command : commands) earliest = std::min(earliest, command->insertTime());
    const int64_t target = int64_t(current.insertTime().frameCount()) + current.TransmissionLength().frameCount();
    if (!moveAll(commands, target - earliest.frameCount())) {
      prompts_.error(QString::fromUtf8(kOutOfDay),
                     QStringLiteral("They would be pasted after %1.").arg(commandText(&current)));
      return;
    }
  }
  insertWithQuestion(std::move(commands), QStringLiteral("Paste"));
}

bool CMainFrame::insertWithQuestion(std::vector<std::unique_ptr<CCommand>> commands, const QString& text) {
  const EditResult trial = tryInsert(document_, commands);
  if (trial.status == EditStatus::Conflict && askConflict(trial.conflict, false) == ConflictChoice::Abort) return false;
  push(new InsertCommandsStep(*this, std::move(commands), text));
  return true;
}

std::vector<CommandSerial> CMainFrame::shiftSerials(ShiftScope scope) const {
  if (scope == ShiftScope::Selection) return selectedSerials();
  const std::vector<int> rows = view_->selectedRows();
  std::vector<CommandSerial> serials;
  for (size_t row = rows.empty() ? 0 : size_t(rows.front()); row < document_.commandCount(); ++row)
    serials.push_back(document_.commandAt(row)->serial());
  return serials;
}

void CMainFrame::shiftTimes() {
  if (document_.commandCount() == 0) return;
  const int selected = int(view_->selectedRows().size());
  ShiftRequest request{0, selected > 1 ? ShiftScope::Selection : ShiftScope::FromFirstSelected};
  for (;;) {
    const std::optional<ShiftRequest> answer = prompts_.shiftTimes(request, selected);
    if (!answer) return;
    request = *answer;
    const std::vector<CommandSerial> serials = shiftSerials(request.scope);
    if (request.frames == 0 || serials.empty()) return;
    const EditResult trial = tryMove(document_, serials, request.frames);
    if (trial.status == EditStatus::OutOfRange) {
      prompts_.error(
          QString::fromUtf8(kOutOfDay),
          QStringLiteral("%1 would leave the day.").arg(commandText(document_.commandBySerial(trial.offending))));
      continue;
    }
    if (trial.status == EditStatus::Conflict) {
      const ConflictChoice choice = askConflict(trial.conflict, true);
      if (choice == ConflictChoice::Abort) return;
      if (choice == ConflictChoice::Retry) continue;
    }
    push(new MoveCommandsStep(*this, serials, request.frames, QStringLiteral("Shift Times")));
    return;
  }
}

void CMainFrame::goToTime() {
  const std::optional<int> row = view_->selectedRow();
  const CSMPTETime start = row ? document_.commandAt(size_t(*row))->insertTime() : CSMPTETime();
  const std::optional<CSMPTETime> time = prompts_.goToTime(start);
  if (!time || document_.commandCount() == 0) return;
  const size_t at = document_.insertIndexFor(*time);
  if (at == document_.commandCount())
    statusBar()->showMessage(QStringLiteral("No command at or after %1.").arg(QString::fromStdString(time->text())),
                             5000);
  view_->makeCurrent(int(std::min(at, document_.commandCount() - 1)));
  view_->setFocus();
}

void CMainFrame::makeAllWaveFiles() {
  if (document_.commandCount() == 0) return;
  push(new MakeWavesStep(*this, QStringLiteral("Make All Wave Files")));
}

void CMainFrame::exportList() {
  const std::filesystem::path suggested = document_.directory() / (document_.baseName() + ".csv");
  const QString name = prompts_.exportListName(QString::fromStdString(suggested.string()));
  if (name.isEmpty()) return;
  const std::filesystem::path path(name.toStdString());
  std::vector<const CCommand*> commands;
  for (const auto& command : document_.commands()) commands.push_back(command.get());
  const std::string text = encodeCommandList(commands, separatorForFile(path));
  std::string reason;
  if (!common::replaceFile(kProgramName, path, std::string_view(text), reason)) {
    prompts_.error(QStringLiteral("The list could not be exported."), QString::fromStdString(reason));
  }
}

void CMainFrame::importList() {
  const QString name = prompts_.importListName();
  if (name.isEmpty()) return;
  const std::filesystem::path path(name.toStdString());
  std::string text;
  std::string reason;
  if (!common::readStream(path, text, reason)) {
    prompts_.error(QStringLiteral("The list could not be imported."), QString::fromStdString(reason));
    return;
  }
  std::vector<std::unique_ptr<CCommand>> commands;
  ListReadError error;
  if (!decodeCommandList(text, separatorForFile(path), ListHeader::Required, commands, error)) {
    prompts_.error(QStringLiteral("The list could not be imported."),
                   QString::fromStdString(describeListError(path.filename().string(), error)));
    return;
  }
  if (!commands.empty()) insertWithQuestion(std::move(commands), QStringLiteral("Import List"));
}

}  // namespace vtq
