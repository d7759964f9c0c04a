// The File menu's "Render Cue Track..." and "Check Sound Track...": each asks
// for a wave file and where it lies on the document's time line, runs the
// model's render or check on the document as it is in the window (saved or
// not), and shows the report; the check's report can be saved as CSV.
#include <QtCore/QDir>
#include <QtCore/QStringList>

#include "common/safe_file_writer.h"
#include "core/cue_check.h"
#include "core/cue_check_csv.h"
#include "core/cue_track.h"
#include "main_frame.h"

namespace vtq {
namespace {

QString joinLines(const std::vector<std::string>& lines) {
  QStringList list;
  for (const std::string& line : lines) list << QString::fromStdString(line);
  return list.join(QLatin1Char('\n'));
}

}  // namespace

void CMainFrame::fileRenderCueTrack() {
  const std::filesystem::path suggested = document_.directory() / (document_.baseName() + "-cues.wav");
  const auto request = prompts_.cueTrackRequest(QString::fromStdString(suggested.string()));
  if (!request) return;
  const CueTrackReport rendered =
      renderCueTrack(document_, request->file.toStdString(), CueTrackOptions{request->start, request->length});
  if (rendered.outcome == CueTrackOutcome::Refused || rendered.outcome == CueTrackOutcome::FileError) {
    prompts_.error(QStringLiteral("The cue track was not written."), QString::fromStdString(rendered.summary));
    return;
  }
  std::vector<std::string> lines = rendered.notes;
  lines.push_back(rendered.summary);
  prompts_.report(QStringLiteral("Render Cue Track"), joinLines(lines));
}

void CMainFrame::fileCheckSoundTrack() {
  // The mix starts at the film's first frame unless the user says otherwise.
  const auto request = prompts_.soundTrackRequest(CSMPTETime());
  if (!request) return;
  CueCheckOptions options;
  options.start = request->start;
  options.channel = request->channel;
  const CueCheckReport checked = checkSoundTrack(document_, request->file.toStdString(), options);
  if (checked.outcome == CueCheckOutcome::FileError || checked.outcome == CueCheckOutcome::UsageError) {
    prompts_.error(QStringLiteral("The sound track was not checked."), QString::fromStdString(checked.error));
    return;
  }
  std::vector<std::string> lines = checked.notes;
  lines.insert(lines.end(), checked.lines.begin(), checked.lines.end());
  const std::filesystem::path mix = request->file.toStdString();
  const std::filesystem::path suggested = mix.parent_path() / (mix.stem().string() + "-check.csv");
  const QString csv = prompts_.checkReport(joinLines(lines), QString::fromStdString(suggested.string()));
  std::string error;
  if (!csv.isEmpty() && !common::replaceFile(csv.toStdString(), checkReportCsv(checked), error))
    prompts_.error(QStringLiteral("The check report was not saved."), QString::fromStdString(error));
}

}  // namespace vtq
