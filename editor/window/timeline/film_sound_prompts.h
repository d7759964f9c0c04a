// The questions the timeline asks: which film sound to open and from which
// time code it starts. Dialogs answer them in the window; tests in code.
#pragma once

#include <QtCore/QString>
#include <optional>

#include "core/smpte_time.h"

class QWidget;

namespace vtq {

class FilmSoundPrompts {
 public:
  virtual ~FilmSoundPrompts() = default;
  // The wave file to show under the list; empty when cancelled.
  virtual QString filmSoundName(const QString& folder) = 0;
  // The time code of the film sound's first sample, starting at `current`;
  // `own` is the start the file gives itself. None when cancelled.
  virtual std::optional<CSMPTETime> filmSoundStart(CSMPTETime current, CSMPTETime own) = 0;
  // The cue track's volume in the playback mix, in percent; none when cancelled.
  virtual std::optional<int> cueVolume(int percent) = 0;
};

class FilmSoundDialogs : public FilmSoundPrompts {
 public:
  explicit FilmSoundDialogs(QWidget* parent) : parent_(parent) {}
  QString filmSoundName(const QString& folder) override;
  std::optional<CSMPTETime> filmSoundStart(CSMPTETime current, CSMPTETime own) override;
  std::optional<int> cueVolume(int percent) override;

 private:
  QWidget* parent_;
};

}  // namespace vtq
