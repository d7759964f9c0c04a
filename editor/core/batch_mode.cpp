#include "batch_mode.h"

#include <cstdlib>
#include <filesystem>

#include "batch_edits.h"
#include "batch_options.h"
#include "batch_report.h"
#include "common/output.h"
#include "common/paths.h"
#include "common/safe_file_writer.h"
#include "cue_check.h"
#include "cue_check_csv.h"
#include "cue_track.h"
#include "document.h"
#include "document_lock.h"
#include "list_columns.h"
#include "program_name.h"

namespace vtq {
namespace {

// The batch mode's answers to the document's questions: the command is
// confirmed as built, a conflict is reported and aborts unless it is to be
// ignored, and a wave file that cannot be written ends the run.
class BatchPrompts : public CommandPrompts {
 public:
  BatchPrompts(BatchRun& run, bool ignoreConflicts) : run_(run), ignoreConflicts_(ignoreConflicts) {}

  bool editCommand(CCommand&) override { return true; }
  ConflictChoice conflict(const std::string& warning) override {
    if (ignoreConflicts_) return ConflictChoice::Ignore;
    run_.err.print("%s\n", warning.c_str());
    return ConflictChoice::Abort;
  }
  bool waveFailed(const std::string& message) override {
    waveError = message;
    return false;
  }

  std::string waveError;

 private:
  BatchRun& run_;
  bool ignoreConflicts_;
};

int listDocument(const BatchOptions& options, BatchRun& run) {
  CQuorlinVTQEditorDoc document;
  DocumentError error;
  if (!document.openDocument(common::pathFromName(options.document), error)) return reportDocumentError(run, error);
  std::string text;
  for (size_t c = 0; c < kListColumns.size(); ++c) {
    text += c ? "\t" : "";
    text += kListColumns[c].title;
  }
  text += '\n';
  for (const auto& command : document.commands()) {
    for (size_t c = 0; c < kListColumns.size(); ++c) {
      text += c ? "\t" : "";
      text += columnText(*command, c);
    }
    text += '\n';
  }
  run.out.write(text);
  return kExitDone;
}

bool openOrCreate(CQuorlinVTQEditorDoc& document, const std::filesystem::path& path, DocumentError& error) {
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) return document.openDocument(path, error);
  return document.newDocument(path, error);
}

int addCommand(const BatchOptions& options, BatchRun& run) {
  // Everything the command line says is checked before any file is touched.
  BatchProblem problem;
  auto command = buildCommand(options, problem);
  if (!command) return report(run, problem.exitCode, problem.message);
  int32_t rate = 0;
  if (options.rate) {
    if (*options.rate != "44100" && *options.rate != "48000")
      return report(run, kExitUsage, "--rate is 44100 or 48000, not \"" + *options.rate + "\"");
    rate = std::stoi(*options.rate);
  }

  const auto lock = lockDocumentForChange(options.document, run);
  if (!lock) return kExitFile;
  CQuorlinVTQEditorDoc document;
  DocumentError error;
  if (!openOrCreate(document, common::pathFromName(options.document), error)) return reportDocumentError(run, error);
  if (rate != 0) document.setSampleRate(rate);

  BatchPrompts prompts(run, options.ignoreConflict);
  switch (document.InsertCommand(std::move(command), prompts)) {
    case InsertOutcome::Inserted: break;
    case InsertOutcome::Aborted: return kExitConflict;
    case InsertOutcome::WaveFailed: return report(run, kExitFile, prompts.waveError);
    case InsertOutcome::Cancelled: return kExitUsage;  // the batch mode never cancels
  }
  if (!document.saveDocument(error)) return reportDocumentError(run, error);
  return kExitDone;
}

int deleteCommand(const BatchOptions& options, BatchRun& run) {
  BatchProblem problem;
  CSMPTETime at;
  if (!parseTimeCode(*options.at, "--at", at, problem)) return report(run, problem.exitCode, problem.message);
  const auto lock = lockDocumentForChange(options.document, run);
  if (!lock) return kExitFile;
  CQuorlinVTQEditorDoc document;
  DocumentError error;
  if (!document.openDocument(common::pathFromName(options.document), error)) return reportDocumentError(run, error);
  // A document keeps the order of its file, which need not be sorted by time:
  // the first command listed at that time is the one removed.
  const auto& commands = document.commands();
  size_t index = 0;
  while (index < commands.size() && commands.at(index)->insertTime() != at) ++index;
  if (index == commands.size())
    return report(run, kExitRange, "no command at " + at.text() + " in " + options.document);
  document.CommandDelete(index);
  if (!document.saveDocument(error)) return reportDocumentError(run, error);
  return kExitDone;
}

int makeWaves(const BatchOptions& options, BatchRun& run) {
  const auto lock = lockDocumentForChange(options.document, run);
  if (!lock) return kExitFile;
  CQuorlinVTQEditorDoc document;
  DocumentError error;
  if (!document.openDocument(common::pathFromName(options.document), error)) return reportDocumentError(run, error);
  for (const auto& command : document.commands()) {
    std::string waveError;
    if (!command->MakeWave(waveError)) return report(run, kExitFile, waveError);
  }
  if (!document.saveDocument(error)) return reportDocumentError(run, error);
  return kExitDone;
}

int renderTrack(const BatchOptions& options, BatchRun& run) {
  BatchProblem problem;
  CueTrackOptions track;
  if (options.start && !parseTimeCode(*options.start, "--start", track.start, problem))
    return report(run, problem.exitCode, problem.message);
  if (options.length) {
    track.length.emplace();
    if (!parseTimeCode(*options.length, "--length", *track.length, problem))
      return report(run, problem.exitCode, problem.message);
  }
  CQuorlinVTQEditorDoc document;
  DocumentError error;
  if (!document.openDocument(common::pathFromName(options.document), error)) return reportDocumentError(run, error);
  const CueTrackReport rendered = renderCueTrack(document, common::pathFromName(options.soundFile), track);
  for (const std::string& note : rendered.notes) run.err.print("vtqedit: %s\n", note.c_str());
  switch (rendered.outcome) {
    case CueTrackOutcome::Written: run.out.print("%s\n", rendered.summary.c_str()); return kExitDone;
    case CueTrackOutcome::WrittenOverlaps: run.out.print("%s\n", rendered.summary.c_str()); return kExitConflict;
    case CueTrackOutcome::Refused:
    case CueTrackOutcome::FileError: break;
  }
  return report(run, kExitFile, rendered.summary);
}

// A speed as a decimal ("1.001") or a ratio ("25/24"), within the speeds the
// check reads.
bool parseSpeed(const std::string& text, double& speed, BatchProblem& problem) {
  const size_t slash = text.find('/');
  char* end = nullptr;
  double value = std::strtod(text.c_str(), &end);
  if (slash != std::string::npos && end == text.c_str() + slash) {
    const char* rest = text.c_str() + slash + 1;
    const double divisor = std::strtod(rest, &end);
    value = divisor > 0 ? value / divisor : 0;
  }
  const bool number = !text.empty() && (text[0] >= '0' && text[0] <= '9') && end && *end == '\0';
  if (!number) {
    problem = {kExitUsage, "--speed needs a number such as 1.001 or 25/24, not \"" + text + "\""};
    return false;
  }
  if (!(value >= kFinderTuning.slowest && value <= kFinderTuning.fastest)) {
    problem = {kExitRange, common::format("--speed %s is out of range (%.3f to %.3f)", text.c_str(),
                                          kFinderTuning.slowest, kFinderTuning.fastest)};
    return false;
  }
  speed = value;
  return true;
}

bool parseCheckOptions(const BatchOptions& options, CueCheckOptions& check, BatchProblem& problem) {
  if (options.start && !parseTimeCode(*options.start, "--start", check.start, problem)) return false;
  uint64_t value = 0;
  if (options.channel) {
    if (!parseBounded(*options.channel, "--channel", 1, 0xFFFF, value, problem)) {
      problem.exitCode = kExitUsage;
      return false;
    }
    check.channel = uint16_t(value);
  }
  if (options.speed && !parseSpeed(*options.speed, check.settings.speed.emplace(), problem)) return false;
  if (options.minMargin) {
    if (!parseBounded(*options.minMargin, "--min-margin", 0, 40, value, problem)) return false;
    check.settings.minMarginDb = int(value);
  }
  return true;
}

int checkTrack(const BatchOptions& options, BatchRun& run) {
  BatchProblem problem;
  CueCheckOptions check;
  if (!parseCheckOptions(options, check, problem)) return report(run, problem.exitCode, problem.message);
  CQuorlinVTQEditorDoc document;
  DocumentError error;
  if (!document.openDocument(common::pathFromName(options.document), error)) return reportDocumentError(run, error);
  const CueCheckReport checked = checkSoundTrack(document, common::pathFromName(options.soundFile), check);
  for (const std::string& note : checked.notes) run.err.print("vtqedit: %s\n", note.c_str());
  switch (checked.outcome) {
    case CueCheckOutcome::UsageError: return report(run, kExitUsage, checked.error);
    case CueCheckOutcome::FileError: return report(run, kExitFile, checked.error);
    case CueCheckOutcome::Passed:
    case CueCheckOutcome::Failed: break;
  }
  std::string text;
  for (const std::string& line : checked.lines) text += line + "\n";
  run.out.write(text);
  std::string writeError;
  if (options.report &&
      !common::replaceFile(kProgramName, common::pathFromName(*options.report), checkReportCsv(checked), writeError))
    return report(run, kExitFile, writeError);
  if (checked.outcome != CueCheckOutcome::Passed) return kExitCheckFailed;
  return checked.atRiskCount > 0 ? kExitCheckAtRisk : kExitDone;
}

}  // namespace

std::optional<DocumentLock> lockDocumentForChange(const std::string& document, BatchRun& run) {
  std::string error;
  auto lock = DocumentLock::acquire(common::pathFromName(document), run.lockTimeout, error);
  if (!lock) report(run, kExitFile, error);
  return lock;
}

int runBatchMode(const std::vector<std::string>& args, BatchRun& run) {
  if (args.empty()) {
    run.err.write(kBatchUsage);
    return kExitUsage;
  }
  BatchOptions options;
  BatchProblem problem;
  if (!parseBatchOptions(args, options, problem)) return report(run, problem.exitCode, problem.message);
  switch (options.action) {
    case BatchAction::Help: run.out.write(kBatchUsage); return kExitDone;
    case BatchAction::List: return listDocument(options, run);
    case BatchAction::Add: return addCommand(options, run);
    case BatchAction::Delete: return deleteCommand(options, run);
    case BatchAction::MakeWaves: return makeWaves(options, run);
    case BatchAction::Render: return renderTrack(options, run);
    case BatchAction::Check: return checkTrack(options, run);
    case BatchAction::Shift: return shiftDocument(options, run);
    case BatchAction::Export: return exportList(options, run);
    case BatchAction::Import: return importList(options, run);
    case BatchAction::None: break;
  }
  run.err.write(kBatchUsage);
  return kExitUsage;
}

}  // namespace vtq
