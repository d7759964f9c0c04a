// The File menu's "Render Cue Track..." and "Check Sound Track...": each asks
// for a wave file, runs the model's render or check on the document as it is
// in the window (saved or not), and shows the report.
#include <QtCore/QDir>
#include <QtCore/QStringList>

#include "core/cue_check.h"
#include "core/cue_track.h"
#include "main_frame.h"
#include "timeline/timeline_controller.h"

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
  const QString name = prompts_.cueTrackName(QString::fromStdString(suggested.string()));
  if (name.isEmpty()) return;
  const CueTrackReport rendered = renderCueTrack(document_, name.toStdString(), CueTrackOptions{});
  if (rendered.outcome == CueTrackOutcome::Refused || rendered.outcome == CueTrackOutcome::FileError) {
    prompts_.error(QStringLiteral("The cue track was not written."), QString::fromStdString(rendered.summary));
    return;
  }
  std::vector<std::string> lines = rendered.notes;
  lines.push_back(rendered.summary);
  prompts_.report(QStringLiteral("Render Cue Track"), joinLines(lines));
}

void CMainFrame::fileCheckSoundTrack() {
  // The open film sound, from its start and with its channel, unless there is none.
  const auto film = timeline_->checkDefaults();
  const QString name = film ? film->first : prompts_.soundTrackName();
  if (name.isEmpty()) return;
  const CueCheckReport checked = checkSoundTrack(document_, name.toStdString(), film ? film->second : CueCheckOptions{});
  if (checked.outcome == CueCheckOutcome::FileError || checked.outcome == CueCheckOutcome::UsageError) {
    prompts_.error(QStringLiteral("The sound track was not checked."), QString::fromStdString(checked.error));
    return;
  }
  timeline_->showCheck(checked);
  std::vector<std::string> lines = checked.notes;
  lines.insert(lines.end(), checked.lines.begin(), checked.lines.end());
  prompts_.report(QStringLiteral("Check Sound Track"), joinLines(lines));
}

}  // namespace vtq
