// A field that holds one time code and always shows it as "hh:mm:ss:ff".
// Digits overwrite digits at the caret; Up, Down and the spin buttons step the
// unit under the caret; Enter and Tab move to the next control; nothing that
// would change the text's shape (Backspace, Delete, cut, paste, dropping) is
// taken.
#pragma once

#include <QtWidgets/QAbstractSpinBox>

#include "core/smpte_time.h"

namespace vtq {

class CTimeCodeEdit : public QAbstractSpinBox {
  Q_OBJECT

 public:
  explicit CTimeCodeEdit(QWidget* parent = nullptr);

  CSMPTETime value() const { return value_; }
  // Shows `value`; the caret keeps its position. Emits no signal.
  void setValue(CSMPTETime value);
  int caretPosition() const;
  void setCaretPosition(int position);

  void stepBy(int steps) override;
  QValidator::State validate(QString& input, int& pos) const override;

 signals:
  // The user changed the value (typing, a step).
  void valueEdited();

 protected:
  StepEnabled stepEnabled() const override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void display(CSMPTETime value, int caret);
  bool typeDigit(char digit);

  CSMPTETime value_;
};

}  // namespace vtq
