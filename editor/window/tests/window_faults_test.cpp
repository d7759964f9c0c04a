// The window's answers to faults found in use: the list keeps its rows and
// its current row through a change, the keyboard starts in the list, the
// command dialog starts in the insert time and leaves the wheel to focused
// controls, a failed PDF is reported, Play says why it plays nothing, drops
// are copies, the overwrite question defaults to No, and a document at an
// unusual rate is pointed out.
#include <gtest/gtest.h>

#include <QtCore/QMimeData>
#include <QtCore/QSettings>
#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtCore/QUrl>
#include <QtGui/QUndoStack>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QStatusBar>

#include "command_dlg.h"
#include "command_list_view.h"
#include "core/command.h"
#include "dialog_prompts.h"
#include "main_frame.h"
#include "sound_player.h"
#include "time_code_edit.h"
#include "window_fixture.h"
#include "window_test_support.h"

namespace vtq {
namespace {

using test::ScriptedPrompts;

using FaultFixture = test::FrameWithDocument;

TEST(WindowFaults, TheListKeepsItsRowsDuringEditAndTheChangedCommandStaysCurrent) {
  FaultFixture f;
  for (int s : {10, 20, 30}) f.add(s);
  EXPECT_EQ(f.list().selectedRow(), 2) << "a new command is current";
  f.list().makeCurrent(1);
  int rowsSeen = 0;
  std::optional<int> selectedSeen;
  f.prompts.edits.push_back([&](CCommand& c) {
    rowsSeen = f.list().model()->rowCount();
    selectedSeen = f.list().selectedRow();
    c.MoveStart(CSMPTETime(0, 0, 40, 0));
    return true;
  });
  f.frame.commandEdit();
  EXPECT_EQ(rowsSeen, 3);
  EXPECT_EQ(selectedSeen, 1);
  EXPECT_EQ(f.list().selectedRow(), 2) << "the edited command, now last, stays current";
  f.list().makeCurrent(0);
  f.frame.commandDelete();
  EXPECT_EQ(f.list().selectedRow(), 0);
  EXPECT_EQ(f.document.commandAt(0)->insertTime().text(), "00:00:30:00") << "the next command is current";
}

TEST(WindowFaults, AfterOpeningTheListHasTheFocusWithTheFirstRowCurrent) {
  FaultFixture f;
  f.add(10);
  f.add(20);
  DocumentError error;
  ASSERT_TRUE(f.document.saveDocument(error));
  ASSERT_TRUE(f.document.openDocument(f.document.path(), error));
  f.frame.documentReplaced();
  f.frame.show();
  QApplication::setActiveWindow(&f.frame);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f.frame));
  EXPECT_TRUE(f.list().hasFocus());
  EXPECT_EQ(f.list().selectedRow(), 0);
  QTest::keyClick(&f.list(), Qt::Key_Delete);
  EXPECT_EQ(f.document.commandCount(), 1u);
}

TEST(WindowFaults, TheWheelChangesOnlyAFocusedControlOfTheCommandDialog) {
  QApplication& app = test::testApplication();
  (void)app;
  CCommand command;
  CCommandDlg dialog(command);
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  QSpinBox* spin = dialog.retransmissionSpin();
  const auto wheel = [&] {
    QWheelEvent event(QPointF(5, 5), spin->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(spin, &event);
  };
  wheel();
  EXPECT_EQ(spin->value(), 0);
  spin->setFocus();
  wheel();
  EXPECT_EQ(spin->value(), 1);
}

TEST(WindowFaults, DigitsTypedIntoANewCommandDialogGoIntoTheInsertTime) {
  QApplication& app = test::testApplication();
  (void)app;
  CCommand command;
  command.MoveStart(CSMPTETime(0, 0, 14, 0));
  CCommandDlg dialog(command);
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("01"));
  EXPECT_EQ(dialog.insertField()->value().text(), "01:00:14:00");
}

TEST(WindowFaults, APdfThatCannotBeWrittenIsReported) {
  FaultFixture f;
  f.add(10);
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QStringLiteral("/dev/full"));
  EXPECT_FALSE(f.frame.printTo(printer));
  printer.setOutputFileName(f.dir.filePath(QStringLiteral("list.pdf")));
  EXPECT_TRUE(f.frame.printTo(printer));
}

TEST(WindowFaults, PlayWithoutAWaveFileSaysWhy) {
  FaultFixture f;
  f.add(10);
  QFile::remove(f.dir.filePath(QStringLiteral("scene00001000.wav")));
  f.frame.commandPlay();
  EXPECT_TRUE(f.frame.statusBar()->currentMessage().startsWith(QStringLiteral("The wave file ")))
      << f.frame.statusBar()->currentMessage().toStdString();
}

TEST(WindowFaults, ADroppedFileIsTakenAsACopy) {
  FaultFixture f;
  auto* data = new QMimeData;
  data->setUrls({QUrl::fromLocalFile(f.dir.filePath(QStringLiteral("scene.qtd")))});
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&f.frame, &enter);
  EXPECT_TRUE(enter.isAccepted());
  EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&f.frame, &drop);
  EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
  delete data;
}

TEST(WindowFaults, TheOverwriteQuestionDefaultsToNo) {
  QApplication& app = test::testApplication();
  (void)app;
  DialogPrompts prompts;
  bool defaultIsNo = false;
  QTimer answer;
  answer.setSingleShot(true);
  QObject::connect(&answer, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_TRUE(box);
    defaultIsNo = static_cast<QAbstractButton*>(box->defaultButton()) == box->button(QMessageBox::No);
    box->button(QMessageBox::Cancel)->click();
  });
  answer.start(0);
  EXPECT_EQ(prompts.overwriteExisting(), OverwriteChoice::Cancel);
  EXPECT_TRUE(defaultIsNo);
}

TEST(WindowFaults, ADocumentAtAnUnusualRateIsPointedOutWhenItOpens) {
  FaultFixture f;
  // An empty document at 22050 Hz: count 0, then the rate.
  const QString path = f.dir.filePath(QStringLiteral("odd.qtd"));
  QFile odd(path);
  ASSERT_TRUE(odd.open(QIODevice::WriteOnly));
  odd.write(QByteArray::fromHex("000022560000"));
  odd.close();
  for (const int answer : {0, 48000}) {
    f.prompts.rates = {answer};
    ASSERT_TRUE(f.frame.flows().openDocument(path));
    f.frame.documentReplaced();
    EXPECT_EQ(f.prompts.asked.back(), "rate of odd.qtd: 22050");
    EXPECT_EQ(f.document.sampleRate(), answer ? answer : 22050);
    EXPECT_EQ(f.document.isModified(), answer != 0);
  }
}

}  // namespace
}  // namespace vtq
