// The command dialog and its time code fields, driven with keys and mouse.
#include "command_dlg.h"

#include <gtest/gtest.h>

#include <QtCore/QTimer>
#include <QtGui/QClipboard>
#include <QtTest/QTest>
#include <QtWidgets/QAbstractSpinBox>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSpinBox>

#include "core/command.h"
#include "time_code_edit.h"
#include "window_test_support.h"

namespace vtq {
namespace {

// A time field at `text` with the caret at `caret`.
struct FieldFixture {
  QApplication& app = test::testApplication();
  CTimeCodeEdit field;
  FieldFixture(CSMPTETime value, int caret) {
    field.show();
    field.setFocus();
    field.setValue(value);
    field.setCaretPosition(caret);
  }
  QString text() const { return field.findChild<QLineEdit*>()->text(); }
};

TEST(TimeCodeEdit, KeysOverwriteAndStepWithoutChangingTheShape) {
  struct Case {
    const char* name;
    CSMPTETime start;
    int caret;
    std::vector<int> keys;  // Qt key codes; digits and letters as characters
    const char* text;
    int caretAfter;
  };
  const Case cases[] = {
      {"9 over the minutes' tens wraps 90 to 30", {}, 3, {'9'}, "00:30:00:00", 4},
      {"a digit before a colon goes after it", {}, 2, {'5'}, "00:50:00:00", 4},
      {"digits run across the colons", {}, 0, {'1', '2', '3', '4'}, "12:34:00:00", 5},
      {"beyond position 10 a digit is ignored", {}, 11, {'7'}, "00:00:00:00", 11},
      {"letters, Backspace and Delete are ignored",
       CSMPTETime(0, 0, 1, 2),
       4,
       {'a', Qt::Key_Backspace, Qt::Key_Delete},
       "00:00:01:02",
       4},
      {"Down on the hours wraps to 23", {}, 1, {Qt::Key_Down}, "23:00:00:00", 1},
      {"Up on the minutes", {}, 5, {Qt::Key_Up}, "00:01:00:00", 5},
      {"Up on the seconds", {}, 8, {Qt::Key_Up}, "00:00:01:00", 8},
      {"Down on the frames borrows", CSMPTETime(0, 0, 1, 0), 10, {Qt::Key_Down}, "00:00:00:24", 10},
  };
  for (const Case& c : cases) {
    FieldFixture f(c.start, c.caret);
    for (const int key : c.keys) {
      if (key < 0x100) {
        QTest::keyClick(&f.field, char(key));
      } else {
        QTest::keyClick(&f.field, Qt::Key(key));
      }
    }
    EXPECT_EQ(f.text(), QString::fromUtf8(c.text)) << c.name;
    EXPECT_EQ(f.field.caretPosition(), c.caretAfter) << c.name;
    EXPECT_EQ(f.field.value().text(), c.text) << c.name;
  }
}

TEST(TimeCodeEdit, SpinButtonsStepAtTheCaretAndPasteIsRefused) {
  FieldFixture f(CSMPTETime(0, 0, 0, 0), 4);
  f.field.stepBy(1);   // what the spin's up arrow does
  f.field.stepBy(-2);  // and the down arrow, twice
  EXPECT_EQ(f.text(), QStringLiteral("23:59:00:00"));
  QGuiApplication::clipboard()->setText(QStringLiteral("12"));
  QTest::keyClick(&f.field, Qt::Key_V, Qt::ControlModifier);
  f.field.findChild<QLineEdit*>()->paste();
  EXPECT_EQ(f.text(), QStringLiteral("23:59:00:00"));
}

struct DialogFixture {
  QApplication& app = test::testApplication();
  CCommand command;
  CCommandDlg dialog{command};
};

TEST(CommandDlg, OpensWithTheCommandAndTheFocusOnTheInsertTime) {
  DialogFixture f;
  f.command.SetCommand(34);
  f.command.SetTimed(true);
  ASSERT_TRUE(f.command.SetResponseTime(CSMPTETime(0, 0, 5, 0)));
  f.command.setRetransmissions(3);
  CCommandDlg dialog(f.command);
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  EXPECT_EQ(QApplication::focusWidget(), dialog.insertField());
  EXPECT_TRUE(dialog.confirmButton()->isDefault());
  EXPECT_TRUE(dialog.timedBox()->isChecked());
  EXPECT_TRUE(dialog.responseField()->isEnabled());
  EXPECT_EQ(dialog.responseField()->value().text(), "00:00:05:00");
  EXPECT_EQ(dialog.retransmissionSpin()->value(), 3);
  EXPECT_EQ(dialog.commandList()->currentText().toStdString(), f.command.commandName());
  EXPECT_EQ(dialog.paramArea()->geometry(), QRect(QPoint(20, 219), CCommandDlg::kParamAreaSize));
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Edit Command..."));
}

TEST(CommandDlg, AltWConfirmsAndAltCCancelsFromATimeField) {
  const struct {
    Qt::Key key;
    int result;
  } cases[] = {{Qt::Key_W, QDialog::Accepted}, {Qt::Key_C, QDialog::Rejected}};
  for (const auto& c : cases) {
    DialogFixture f;
    f.dialog.show();
    QApplication::setActiveWindow(&f.dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.dialog));
    f.dialog.insertField()->setFocus();
    f.dialog.insertField()->setCaretPosition(6);
    QTest::keyClick(f.dialog.insertField(), '4');
    QTest::keyClick(f.dialog.insertField(), Qt::Key_Return);  // moves on, does not confirm
    EXPECT_TRUE(f.dialog.isVisible());
    f.dialog.setResult(-1);
    QTest::keyClick(QApplication::focusWidget(), c.key, Qt::AltModifier);
    // A mnemonic clicks its button after the button's press animation.
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.dialog.result() != -1; }, 2000));
    EXPECT_EQ(f.dialog.result(), c.result);
    EXPECT_EQ(f.command.insertTime().text(), "00:00:40:00") << "leaving the field moved the start";
  }
}

TEST(CommandDlg, RetransmissionsStepUpTo15AndTimedEnablesTheResponse) {
  DialogFixture f;
  f.dialog.retransmissionSpin()->stepBy(20);
  EXPECT_EQ(f.command.retransmissions(), 15);
  EXPECT_TRUE(f.dialog.retransmissionSpin()->findChild<QLineEdit*>()->isReadOnly());
  EXPECT_FALSE(f.dialog.responseField()->isEnabled());
  f.dialog.timedBox()->click();
  EXPECT_TRUE(f.dialog.responseField()->isEnabled());
  EXPECT_TRUE(f.command.isTimed());
  // A response before the insert time is refused; the field shows the stored one.
  f.command.MoveStart(CSMPTETime(0, 0, 10, 0));
  f.dialog.responseField()->setValue(CSMPTETime(0, 0, 5, 0));
  f.dialog.responseField()->setCaretPosition(7);
  f.dialog.responseField()->stepBy(1);
  EXPECT_EQ(f.dialog.responseField()->value().text(), "00:00:10:00");
}

}  // namespace
}  // namespace vtq
