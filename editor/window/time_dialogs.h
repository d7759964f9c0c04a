// The two small dialogs that ask for a time code: "Shift Times" (a signed
// shift and which commands it moves) and "Go to Time". They only collect
// values; the frame acts on them.
#pragma once

#include <QtWidgets/QDialog>
#include <cstdint>

#include "window_prompts.h"

class QComboBox;
class QRadioButton;

namespace vtq {

class CTimeCodeEdit;

class ShiftTimesDlg : public QDialog {
  Q_OBJECT

 public:
  // Opens with `proposal`; `selectionCount` names the choice of selected
  // commands ("the 3 selected commands").
  ShiftTimesDlg(const ShiftRequest& proposal, int selectionCount, QWidget* parent = nullptr);
  ShiftRequest request() const;

  CTimeCodeEdit* amountField() const { return amount_; }
  QComboBox* directionBox() const { return direction_; }
  QRadioButton* selectionChoice() const { return selection_; }
  QRadioButton* fromFirstChoice() const { return fromFirst_; }

 private:
  QComboBox* direction_;
  CTimeCodeEdit* amount_;
  QRadioButton* selection_;
  QRadioButton* fromFirst_;
};

class GoToTimeDlg : public QDialog {
  Q_OBJECT

 public:
  GoToTimeDlg(CSMPTETime start, QWidget* parent = nullptr);
  CSMPTETime time() const;
  CTimeCodeEdit* timeField() const { return time_; }

 private:
  CTimeCodeEdit* time_;
};

}  // namespace vtq
