// The main frame's command operations, keys and list behaviour, driven the
// way a user drives them, with the command dialog and message boxes answered
// in code.
#include "main_frame.h"

#include <gtest/gtest.h>

#include <QtCore/QSettings>
#include <QtCore/QTemporaryDir>
#include <QtGui/QUndoStack>
#include <QtGui/QWindow>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>

#include "command_list_view.h"
#include "core/list_columns.h"
#include "sound_player.h"
#include "window_fixture.h"
#include "window_test_support.h"

namespace vtq {
namespace {

using test::ScriptedPrompts;

struct FrameFixture : test::FrameWithDocument {
  std::vector<std::string> insertTimes() const {
    std::vector<std::string> times;
    for (const auto& c : document.commands()) times.push_back(c->insertTime().text());
    return times;
  }
  void select(int row) { frame.listView()->selectRow(row); }
  QMenu* menu(const char* title) const {
    for (QAction* action : frame.menuBar()->actions()) {
      if (action->text() == QString::fromUtf8(title)) return action->menu();
    }
    return nullptr;
  }
  // The title as the window system shows it ("[*]" replaced).
  QString displayedTitle() {
    frame.winId();
    return frame.windowHandle()->title();
  }
  CommandListView& list() { return *frame.listView(); }
};

TEST(MainFrame, NewProposesADefaultCommandThenACopyOfTheLastMovedOn) {
  FrameFixture f;
  f.add(10, 2);
  EXPECT_EQ(f.displayedTitle(), QStringLiteral("scene.qtd* - Quorlin VTQ Editor"));
  f.frame.undoStack()->setClean();                             // as after a save
  f.prompts.edits.push_back([](CCommand&) { return false; });  // cancelled
  f.frame.commandNew();
  EXPECT_EQ(f.prompts.asked, (std::vector<std::string>{"edit 00:00:00:00 KEEP_ALIVE", "edit 00:00:13:00 KEEP_ALIVE"}));
  EXPECT_EQ(f.insertTimes(), std::vector<std::string>{"00:00:10:00"});
  EXPECT_FALSE(f.document.isModified()) << "a cancelled New changes nothing";
  EXPECT_EQ(f.displayedTitle(), QStringLiteral("scene.qtd - Quorlin VTQ Editor"));
}

TEST(MainFrame, EditWithAConflictFollowsTheAnswer) {
  struct Case {
    ConflictChoice first;
    std::vector<std::string> times;
    size_t questions;
  };
  // The second command (00:00:20) is moved onto the first one's transmission.
  const Case cases[] = {
      {ConflictChoice::Abort, {"00:00:10:00", "00:00:20:00"}, 1},
      {ConflictChoice::Ignore, {"00:00:10:00", "00:00:10:10"}, 1},
      {ConflictChoice::Retry, {"00:00:10:00", "00:00:30:00"}, 2},
  };
  for (const Case& c : cases) {
    FrameFixture f;
    f.add(10);
    f.add(20);
    f.prompts.asked.clear();
    f.prompts.edits = {[](CCommand& cmd) {
                         cmd.MoveStart(CSMPTETime(0, 0, 10, 10));
                         return true;
                       },
                       [](CCommand& cmd) {
                         cmd.MoveStart(CSMPTETime(0, 0, 30, 0));
                         return true;
                       }};
    f.prompts.conflicts = {c.first};
    f.select(1);
    f.frame.commandEdit();
    EXPECT_EQ(f.insertTimes(), c.times) << int(c.first);
    EXPECT_EQ(f.prompts.asked.size(), c.questions + 1) << int(c.first);
    EXPECT_EQ(f.list().selectedRow(), 1) << "the edited command stays current";
  }
}

TEST(MainFrame, EditDeleteAndPlayWithoutASelectionDoNothing) {
  FrameFixture f;
  f.add(10);
  f.prompts.asked.clear();
  f.frame.undoStack()->setClean();
  f.list().clearSelection();
  f.frame.commandEdit();
  f.frame.commandDelete();
  f.frame.commandPlay();
  EXPECT_TRUE(f.prompts.asked.empty());
  EXPECT_EQ(f.document.commandCount(), 1u);
  EXPECT_FALSE(f.document.isModified());
}

TEST(MainFrame, TheWindowsKeysActOnTheSelectedRow) {
  FrameFixture f;
  f.add(10);
  f.add(20);
  f.add(30);
  f.frame.show();
  QApplication::setActiveWindow(&f.frame);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f.frame));
  EXPECT_TRUE(f.list().hasFocus());
  // Home selects the first row, End the last, Up moves by one row.
  QTest::keyClick(&f.list(), Qt::Key_End);
  EXPECT_EQ(f.list().selectedRow(), 2);
  QTest::keyClick(&f.list(), Qt::Key_Up);
  EXPECT_EQ(f.list().selectedRow(), 1);
  QTest::keyClick(&f.list(), Qt::Key_Home);
  EXPECT_EQ(f.list().selectedRow(), 0);
  // Enter edits, Delete deletes.
  f.prompts.asked.clear();
  QTest::keyClick(&f.list(), Qt::Key_Return);
  EXPECT_EQ(f.prompts.asked, std::vector<std::string>{"edit 00:00:10:00 KEEP_ALIVE"});
  f.select(0);
  QTest::keyClick(&f.list(), Qt::Key_Delete);
  EXPECT_EQ(f.insertTimes(), (std::vector<std::string>{"00:00:20:00", "00:00:30:00"}));
}

TEST(MainFrame, FirstUpdateSizesTheFrameToTheColumns) {
  FrameFixture f;
  const QFontMetrics metrics = f.list().horizontalHeader()->fontMetrics();
  int sum = 0;
  for (size_t c = 0; c < kListColumns.size(); ++c) {
    const int width = metrics.horizontalAdvance(QString::fromUtf8(kListColumns[c].title)) + kListColumns[c].margin;
    EXPECT_EQ(f.list().columnWidth(int(c)), width) << c;
    sum += width;
  }
  EXPECT_EQ(f.frame.width(), sum + 12);
}

TEST(MainFrame, TheRateMenuMarksTheDocumentsRate) {
  FrameFixture f;
  f.frame.setSampleRate(48000);
  EXPECT_EQ(f.document.sampleRate(), 48000);
  EXPECT_TRUE(f.document.isModified());
  QMenu* settings = f.menu("&Settings");
  const QList<QAction*> rates = settings->actions().first()->menu()->actions();
  EXPECT_FALSE(rates.at(0)->isChecked());
  EXPECT_TRUE(rates.at(1)->isChecked());
}

TEST(MainFrame, ExitEndsTheProgramWhileTheHelpWindowIsOpen) {
  FrameFixture f;
  f.frame.show();
  f.frame.showHelp();
  ASSERT_TRUE(f.frame.helpWindow());
  EXPECT_EQ(f.frame.helpWindow()->windowTitle(), QStringLiteral("Quorlin VQT Editor Help"));
  EXPECT_FALSE(f.frame.helpWindow()->isModal());
  EXPECT_TRUE(f.frame.close());
  QApplication::processEvents();
  EXPECT_FALSE(f.frame.helpWindow());
}

}  // namespace
}  // namespace vtq
