// The modal command dialog "Edit Command...". It works directly on the
// command it is given: callers that must keep the old state hand it a copy.
// The wave file is written by the document after the conflict check, not
// here.
#pragma once

#include <QtWidgets/QDialog>

class QCheckBox;
class QComboBox;
class QPushButton;
class QSpinBox;

namespace vtq {

class CCommand;
class CTimeCodeEdit;

class CCommandDlg : public QDialog {
  Q_OBJECT

 public:
  // Where the parameter's own dialog goes, in the dialog's client area.
  static constexpr QPoint kParamAreaPos{20, 219};
  static constexpr QSize kParamAreaSize{360, 150};

  CCommandDlg(CCommand& command, QWidget* parent = nullptr);
  ~CCommandDlg() override;

  CTimeCodeEdit* insertField() const { return insert_; }
  CTimeCodeEdit* responseField() const { return response_; }
  QCheckBox* timedBox() const { return timed_; }
  QSpinBox* retransmissionSpin() const { return retransmissions_; }
  QComboBox* commandList() const { return commands_; }
  QWidget* paramArea() const { return paramArea_; }
  QPushButton* confirmButton() const { return confirm_; }

  // Every way out (confirm, Cancel, Escape, closing) closes the parameter
  // dialog first.
  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildTimeControls();
  void buildCommandControls();
  void connectEvents();
  void fillFromCommand();
  void timedToggled(bool checked);
  void commandChosen(int index);
  void insertLeft();
  void responseEdited();
  void responseLeft();
  void confirm();
  void refreshResponse();

  CCommand& command_;
  CTimeCodeEdit* insert_ = nullptr;
  QCheckBox* timed_ = nullptr;
  CTimeCodeEdit* response_ = nullptr;
  QSpinBox* retransmissions_ = nullptr;
  QComboBox* commands_ = nullptr;
  QWidget* paramArea_ = nullptr;
  QPushButton* confirm_ = nullptr;
  QPushButton* cancel_ = nullptr;
  bool paramOpen_ = false;
};

}  // namespace vtq
