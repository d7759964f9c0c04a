#include "batch_edits.h"

#include <filesystem>

#include "batch_report.h"
#include "command_csv.h"
#include "common/file_io.h"
#include "common/output.h"
#include "common/paths.h"
#include "document.h"
#include "document_edits.h"
#include "program_name.h"

namespace vtq {
namespace {

std::string describe(const CQuorlinVTQEditorDoc& document, CommandSerial serial) {
  const CCommand* command = document.commandBySerial(serial);
  return command ? command->insertTime().text() + " (" + command->commandName() + ")" : std::string("?");
}

// "the command at 00:00:12:00 (PLAY_SOUND) would overlap the one at ...".
int reportConflict(BatchRun& run, const ConflictPair& pair) {
  run.err.print("%s\n", kConflictWarning);
  return report(run, kExitConflict,
                common::format("the command at %s (%s) would overlap the command at %s (%s); --ignore-conflict "
                               "accepts the overlap",
                               pair.movedTime.text().c_str(), pair.movedName.c_str(), pair.otherTime.text().c_str(),
                               pair.otherName.c_str()));
}

// Writes the wave files of `serials`, then the document; on the first wave
// file that cannot be written the document is left unsaved.
int writeWavesAndSave(CQuorlinVTQEditorDoc& document, const std::vector<CommandSerial>& serials, BatchRun& run) {
  const std::vector<std::string> failures = writeWaveFiles(document, serials);
  if (!failures.empty()) {
    for (const std::string& failure : failures) run.err.print("vtqedit: %s\n", failure.c_str());
    return kExitFile;
  }
  DocumentError error;
  if (!document.saveDocument(error)) return reportDocumentError(run, error);
  return kExitDone;
}

ConflictPolicy policyOf(const BatchOptions& options) {
  return options.ignoreConflict ? ConflictPolicy::Ignore : ConflictPolicy::Refuse;
}

// The commands whose insert time lies from `from` to `to`, both included.
std::vector<CommandSerial> commandsWithin(const CQuorlinVTQEditorDoc& document, CSMPTETime from, CSMPTETime to) {
  std::vector<CommandSerial> serials;
  for (const auto& command : document.commands()) {
    if (command->insertTime() >= from && !(command->insertTime() > to)) serials.push_back(command->serial());
  }
  return serials;
}

}  // namespace

bool parseSignedTimeCode(const std::string& text, const char* option, int64_t& frames, BatchProblem& problem) {
  const bool negative = !text.empty() && text[0] == '-';
  const bool positive = !text.empty() && text[0] == '+';
  CSMPTETime magnitude;
  if (!parseTimeCode(negative || positive ? text.substr(1) : text, option, magnitude, problem)) return false;
  frames = negative ? -int64_t(magnitude.frameCount()) : int64_t(magnitude.frameCount());
  return true;
}

int shiftDocument(const BatchOptions& options, BatchRun& run) {
  BatchProblem problem;
  int64_t frames = 0;
  CSMPTETime from(0u);
  CSMPTETime to(uint32_t(CSMPTETime::kFramesPerDay - 1));
  if (!parseSignedTimeCode(*options.by, "--by", frames, problem) ||
      (options.from && !parseTimeCode(*options.from, "--from", from, problem)) ||
      (options.to && !parseTimeCode(*options.to, "--to", to, problem)))
    return report(run, problem.exitCode, problem.message);

  const auto lock = lockDocumentForChange(options.document, run);
  if (!lock) return kExitFile;
  CQuorlinVTQEditorDoc document;
  DocumentError error;
  if (!document.openDocument(common::pathFromName(options.document), error)) return reportDocumentError(run, error);
  const std::vector<CommandSerial> serials = commandsWithin(document, from, to);
  if (serials.empty()) {
    run.err.print("vtqedit: no command from %s to %s in %s; nothing shifted\n", from.text().c_str(), to.text().c_str(),
                  options.document.c_str());
    return kExitDone;
  }
  const EditResult moved = moveCommands(document, serials, frames, policyOf(options));
  if (moved.status == EditStatus::OutOfRange)
    return report(run, kExitRange,
                  "--by " + *options.by + " moves the command at " + describe(document, moved.offending) +
                      " out of the day (00:00:00:00 to 23:59:59:24); nothing shifted");
  if (moved.status == EditStatus::Conflict) return reportConflict(run, moved.conflict);
  return writeWavesAndSave(document, moved.serials, run);
}

int exportList(const BatchOptions& options, BatchRun& run) {
  CQuorlinVTQEditorDoc document;
  DocumentError error;
  if (!document.openDocument(common::pathFromName(options.document), error)) return reportDocumentError(run, error);
  std::vector<const CCommand*> commands;
  for (const auto& command : document.commands()) commands.push_back(command.get());
  const std::filesystem::path list = common::pathFromName(options.soundFile);
  std::string reason;
  if (!common::replaceFile(kProgramName, list, encodeCommandList(commands, separatorForFile(list)), reason))
    return report(run, kExitFile, reason);
  return kExitDone;
}

namespace {

// The commands of a list file, every row checked.
bool readList(const BatchOptions& options, std::vector<std::unique_ptr<CCommand>>& commands, BatchRun& run, int& code) {
  const std::filesystem::path list = common::pathFromName(options.soundFile);
  std::string text;
  std::string reason;
  if (!common::readStream(list, text, reason)) {
    code = report(run, kExitFile, reason);
    return false;
  }
  ListReadError listError;
  if (!decodeCommandList(text, separatorForFile(list), ListHeader::Required, commands, listError)) {
    code = report(run, kExitRange, describeListError(common::displayPath(list), listError) + "; nothing imported");
    return false;
  }
  return true;
}

// The first overlap that adding `commands` to `document` would make, found on
// a copy, so that a document not yet written needs no file for the check.
bool importConflict(const CQuorlinVTQEditorDoc& document, const std::vector<std::unique_ptr<CCommand>>& commands,
                    ConflictPair& pair) {
  CQuorlinVTQEditorDoc trial;
  std::vector<std::unique_ptr<CCommand>> copies;
  for (const auto& command : document.commands()) copies.push_back(command->cloneWhole());
  insertCommands(trial, std::move(copies), ConflictPolicy::Ignore);
  std::vector<std::unique_ptr<CCommand>> added;
  for (const auto& command : commands) added.push_back(command->cloneWhole());
  const EditResult result = insertCommands(trial, std::move(added), ConflictPolicy::Refuse);
  if (result) return false;
  pair = result.conflict;
  return true;
}

}  // namespace

int importList(const BatchOptions& options, BatchRun& run) {
  std::vector<std::unique_ptr<CCommand>> commands;
  int code = kExitDone;
  if (!readList(options, commands, run, code)) return code;

  const std::filesystem::path path = common::pathFromName(options.document);
  const auto lock = lockDocumentForChange(options.document, run);
  if (!lock) return kExitFile;
  std::error_code ec;
  const bool exists = std::filesystem::exists(path, ec);
  CQuorlinVTQEditorDoc document;
  DocumentError error;
  if (exists && !document.openDocument(path, error)) return reportDocumentError(run, error);
  ConflictPair pair;
  if (!options.ignoreConflict && importConflict(document, commands, pair)) return reportConflict(run, pair);
  // A new document is written (empty, at 44100 Hz) only once the list is known to fit.
  if (!exists && !document.newDocument(path, error)) return reportDocumentError(run, error);
  const EditResult added = insertCommands(document, std::move(commands), ConflictPolicy::Ignore);
  const int written = writeWavesAndSave(document, added.serials, run);
  if (written != kExitDone && !exists) std::filesystem::remove(path, ec);  // no empty document left behind
  return written;
}

}  // namespace vtq
