#include "undo_commands.h"

#include "core/document.h"

namespace vtq {
namespace {

// Writes the wave files of `serials` while holding the document's lock. When
// another program holds it past the wait, nothing is written and the one
// failure names the locked file; the step happens all the same.
std::vector<std::string> writeLocked(UndoContext& context, const std::vector<CommandSerial>& serials) {
  if (serials.empty()) return {};
  const WaveWriteLock::Scope lock(context.waveLock(), context.document().path());
  if (!lock.held()) {
    return {lock.error() + "; the wave files of " + std::to_string(serials.size()) +
            " command(s) were not written (Make All Wave Files writes them later)"};
  }
  return writeWaveFiles(context.document(), serials);
}

// Writes the wave files of the commands a step put in or changed, then tells
// the context which commands those are.
void writeWaves(UndoContext& context, const std::vector<CommandSerial>& serials) {
  const std::vector<std::string> failures = writeLocked(context, serials);
  if (!failures.empty()) context.waveFilesFailed(failures);
  context.commandsChanged(serials);
}

}  // namespace

InsertCommandsStep::InsertCommandsStep(UndoContext& context, std::vector<std::unique_ptr<CCommand>> commands,
                                       const QString& text)
    : QUndoCommand(text), context_(context), held_(std::move(commands)) {}

void InsertCommandsStep::redo() {
  serials_ = insertRemoved(context_.document(), std::move(held_)).serials;
  held_.clear();
  writeWaves(context_, serials_);
}

void InsertCommandsStep::undo() {
  held_ = removeCommands(context_.document(), serials_).commands;
  context_.commandsChanged({});
}

RemoveCommandsStep::RemoveCommandsStep(UndoContext& context, std::vector<CommandSerial> serials, const QString& text)
    : QUndoCommand(text), context_(context), serials_(std::move(serials)) {}

void RemoveCommandsStep::redo() {
  RemovedCommands removed = removeCommands(context_.document(), serials_);
  held_ = std::move(removed.commands);
  rows_ = std::move(removed.rows);
  context_.commandsChanged({});
}

void RemoveCommandsStep::undo() {
  // Back at their rows, so that commands of equal times keep their order.
  insertRemoved(context_.document(), std::move(held_), rows_);
  held_.clear();
  writeWaves(context_, serials_);
}

ReplaceCommandStep::ReplaceCommandStep(UndoContext& context, CommandSerial serial,
                                       std::unique_ptr<CCommand> replacement, const QString& text)
    : QUndoCommand(text), context_(context), serial_(serial), other_(std::move(replacement)) {}

void ReplaceCommandStep::swap() {
  std::unique_ptr<CCommand> previous;
  replaceCommand(context_.document(), serial_, std::move(other_), ConflictPolicy::Ignore, &previous);
  other_ = std::move(previous);
  writeWaves(context_, {serial_});
}

void ReplaceCommandStep::redo() { swap(); }
void ReplaceCommandStep::undo() { swap(); }

MoveCommandsStep::MoveCommandsStep(UndoContext& context, std::vector<CommandSerial> serials, int64_t frames,
                                   const QString& text)
    : QUndoCommand(text), context_(context), serials_(std::move(serials)), frames_(frames) {}

void MoveCommandsStep::move(int64_t frames) {
  moveCommands(context_.document(), serials_, frames, ConflictPolicy::Ignore);
  writeWaves(context_, serials_);
}

// A move that leaves the day is refused as a whole; its undo then has nothing
// to take back.
void MoveCommandsStep::redo() {
  applied_ = moveCommands(context_.document(), serials_, frames_, ConflictPolicy::Ignore).status == EditStatus::Done;
  if (applied_) writeWaves(context_, serials_);
}

void MoveCommandsStep::undo() {
  if (applied_) move(-frames_);
}

MakeWavesStep::MakeWavesStep(UndoContext& context, const QString& text) : QUndoCommand(text), context_(context) {}

void MakeWavesStep::redo() {
  CQuorlinVTQEditorDoc& document = context_.document();
  before_.clear();
  std::vector<CommandSerial> serials;
  for (const auto& command : document.commands()) {
    before_.push_back({command->serial(), command->fileName(), command->byteCodeText()});
    serials.push_back(command->serial());
  }
  const std::vector<std::string> failures = writeLocked(context_, serials);
  if (!failures.empty()) context_.waveFilesFailed(failures);
}

void MakeWavesStep::undo() {
  CQuorlinVTQEditorDoc& document = context_.document();
  for (const Texts& texts : before_) {
    const size_t row = document.rowOf(texts.serial);
    CCommand* command = document.commandAt(row);
    if (!command) continue;
    command->setLoadedFields(command->insertTime(), command->responseTime(), command->timedFlag(),
                             command->retransmissions(), command->commandCode(), texts.fileName, texts.byteCode);
    document.rowChanged(row);
  }
}

SampleRateStep::SampleRateStep(UndoContext& context, int32_t rate, const QString& text)
    : QUndoCommand(text), context_(context), rate_(rate) {}

void SampleRateStep::redo() {
  previous_ = context_.document().sampleRate();
  context_.document().setSampleRate(rate_);
}

void SampleRateStep::undo() { context_.document().setSampleRate(previous_); }

}  // namespace vtq
