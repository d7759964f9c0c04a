#include "time_code_edit.h"

#include <QtGui/QKeyEvent>
#include <QtWidgets/QLineEdit>

#include "core/time_code_editing.h"

namespace vtq {

CTimeCodeEdit::CTimeCodeEdit(QWidget* parent) : QAbstractSpinBox(parent) {
  setAcceptDrops(false);
  lineEdit()->setAcceptDrops(false);
  setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
  setKeyboardTracking(true);
  display(value_, 0);
}

void CTimeCodeEdit::setValue(CSMPTETime value) { display(value, caretPosition()); }

void CTimeCodeEdit::display(CSMPTETime value, int caret) {
  value_ = value;
  lineEdit()->setText(QString::fromStdString(value.text()));
  lineEdit()->setCursorPosition(caret);
}

int CTimeCodeEdit::caretPosition() const {
  // With a selection (as after tabbing into the field) the caret counts at its
  // start, so that typing begins with the first digit.
  const QLineEdit* edit = lineEdit();
  return edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
}

void CTimeCodeEdit::setCaretPosition(int position) { lineEdit()->setCursorPosition(position); }

void CTimeCodeEdit::stepBy(int steps) {
  const int caret = caretPosition();
  TimeCodeFieldState state{value_, size_t(caret)};
  for (int i = 0; i < std::abs(steps); ++i) state = stepTimeCodeField(state, steps > 0 ? 1 : -1);
  display(state.value, caret);
  emit valueEdited();
}

QValidator::State CTimeCodeEdit::validate(QString& input, int&) const {
  // Only the text the field writes itself is valid: edits of the line edit
  // (cut, paste, Backspace, dropping) are refused.
  return input == QString::fromStdString(value_.text()) ? QValidator::Acceptable : QValidator::Invalid;
}

QAbstractSpinBox::StepEnabled CTimeCodeEdit::stepEnabled() const {
  return isEnabled() ? StepUpEnabled | StepDownEnabled : StepNone;
}

bool CTimeCodeEdit::typeDigit(char digit) {
  const auto typed = typeIntoTimeCodeField({value_, size_t(caretPosition())}, digit);
  if (!typed) return false;
  display(typed->value, int(typed->caret));
  emit valueEdited();
  return true;
}

void CTimeCodeEdit::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab) {
    focusNextChild();
  } else if (key == Qt::Key_Backtab) {
    focusPreviousChild();
  } else if (key == Qt::Key_Up || key == Qt::Key_Down) {
    stepBy(key == Qt::Key_Up ? 1 : -1);
  } else if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Home || key == Qt::Key_End ||
             event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll)) {
    QAbstractSpinBox::keyPressEvent(event);
    return;
  } else if (key == Qt::Key_Escape || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    // Escape and the shortcuts (Alt+W, Alt+C) belong to the dialog.
    event->ignore();
    return;
  } else if (event->text().size() == 1) {
    typeDigit(char(event->text()[0].toLatin1()));
  }
  // Everything else (letters, Backspace, Delete, cut, paste) is swallowed.
  event->accept();
}

}  // namespace vtq
