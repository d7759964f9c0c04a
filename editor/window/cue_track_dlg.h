// The dialogs of File > Render Cue Track... and Check Sound Track...: they
// only collect what the render or the check needs, and show the check's
// report with an offer to save it as CSV.
#pragma once

#include <QtWidgets/QDialog>

#include "window_prompts.h"

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace vtq {

class CTimeCodeEdit;

// The track's file (with a browse button), its start and, when checked, its length.
class CueTrackDlg : public QDialog {
  Q_OBJECT

 public:
  CueTrackDlg(const QString& suggested, QWidget* parent);
  CueTrackRequest request() const;

 private:
  QLineEdit* file_;
  CTimeCodeEdit* start_;
  QCheckBox* hasLength_;
  CTimeCodeEdit* length_;
};

// The mix's file, the time code of its first sample and the channel (0: all summed).
class SoundTrackDlg : public QDialog {
  Q_OBJECT

 public:
  SoundTrackDlg(const CSMPTETime& start, QWidget* parent);
  SoundTrackRequest request() const;

 private:
  QLineEdit* file_;
  CTimeCodeEdit* start_;
  QSpinBox* channel_;
};

// The check's report, with "Save CSV..." beside Close; csvName() is the file
// chosen to save it to (empty: none).
class CheckReportDlg : public QDialog {
  Q_OBJECT

 public:
  CheckReportDlg(const QString& text, const QString& suggestedCsv, QWidget* parent);
  const QString& csvName() const { return csvName_; }

 private:
  QString suggestedCsv_;
  QString csvName_;
};

}  // namespace vtq
