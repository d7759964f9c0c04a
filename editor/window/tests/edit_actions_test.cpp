// Undo and redo of every change (with the wave files on disk), many commands
// at once, the clipboard, Shift Times, Go to Time, Make All Wave Files and the
// list's export and import, driven through the main frame with the dialogs
// answered in code.
#include <gtest/gtest.h>

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QMimeData>
#include <QtCore/QSettings>
#include <QtCore/QTemporaryDir>
#include <QtGui/QClipboard>
#include <QtGui/QUndoStack>
#include <QtWidgets/QApplication>
#include <atomic>
#include <map>
#include <thread>

#include "command_list_view.h"
#include "command_table_model.h"
#include "core/document_lock.h"
#include "core/list_columns.h"
#include "main_frame.h"
#include "sound_player.h"
#include "window_fixture.h"
#include "window_test_support.h"

namespace vtq {
namespace {

using test::ScriptedPrompts;

// What the user sees and what is on disk: each row's texts and the bytes of
// the row's wave file.
struct State {
  std::vector<std::string> rows;
  std::map<std::string, QByteArray> waves;
  bool operator==(const State&) const = default;
};

struct EditFixture : test::FrameWithDocument {
  void select(std::initializer_list<int> rows) {
    list().clearSelection();
    for (int row : rows)
      list().selectionModel()->select(frame.tableModel()->index(row, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    list().selectionModel()->setCurrentIndex(frame.tableModel()->index(*rows.begin(), 0),
                                             QItemSelectionModel::NoUpdate);
  }
  std::vector<std::string> times() const {
    std::vector<std::string> result;
    for (const auto& c : document.commands()) result.push_back(c->insertTime().text());
    return result;
  }
  State state() const {
    State s;
    for (const auto& c : document.commands()) {
      std::string row;
      for (size_t column = 0; column < kListColumns.size(); ++column) row += columnText(*c, column) + "|";
      s.rows.push_back(row);
      QFile wave(dir.filePath(QString::fromStdString(c->fileName())));
      s.waves[c->fileName()] = wave.open(QIODevice::ReadOnly) ? wave.readAll() : QByteArray();
    }
    return s;
  }
  void removeWaves() {
    for (const QString& name : QDir(dir.path()).entryList({QStringLiteral("*.wav")})) QFile::remove(dir.filePath(name));
  }
};

TEST(EditActions, UndoAndRedoRestoreTheListAndWriteTheWaveFilesAgain) {
  EditFixture f;
  std::vector<State> states{f.state()};
  const auto step = [&](const std::function<void()>& change) {
    change();
    states.push_back(f.state());
  };
  step([&] { f.add(10); });
  step([&] { f.add(20, 1); });
  step([&] {
    f.prompts.edits.push_back([](CCommand& c) {
      c.MoveStart(CSMPTETime(0, 0, 30, 0));
      return true;
    });
    f.select({1});
    f.frame.commandEdit();
  });
  step([&] {
    f.select({0});
    f.frame.commandDelete();
  });
  step([&] {
    f.select({0});
    f.prompts.shifts.push_back(ShiftRequest{-50, ShiftScope::FromFirstSelected});
    f.frame.shiftTimes();
  });
  step([&] { f.frame.setSampleRate(48000); });
  step([&] { f.frame.makeAllWaveFiles(); });
  ASSERT_EQ(f.frame.undoStack()->count(), 7);
  EXPECT_EQ(f.times(), std::vector<std::string>{"00:00:28:00"});

  // Without their files on disk, every undo and redo writes the wave files of
  // the commands it touches again, byte for byte as they were.
  for (int i = int(states.size()) - 2; i >= 0; --i) {
    f.removeWaves();
    f.frame.undoStack()->undo();
    State now = f.state();
    EXPECT_EQ(now.rows, states[size_t(i)].rows) << "undo to state " << i;
    if (i == 3) {
      EXPECT_FALSE(now.waves.at("scene00001000.wav").isEmpty()) << "an undone Delete writes the file again";
    }
    for (const auto& [name, bytes] : now.waves) {
      if (!bytes.isEmpty()) {
        EXPECT_EQ(bytes, states[size_t(i)].waves.at(name)) << name.c_str();
      }
    }
  }
  EXPECT_FALSE(f.document.isModified());
  for (size_t i = 1; i < states.size(); ++i) {
    f.removeWaves();
    f.frame.undoStack()->redo();
    State now = f.state();
    EXPECT_EQ(now.rows, states[i].rows) << "redo to state " << i;
    for (const auto& [name, bytes] : now.waves) {
      if (!bytes.isEmpty()) {
        EXPECT_EQ(bytes, states[i].waves.at(name)) << name.c_str();
      }
    }
  }
  // The steps that put commands in or move them wrote their files again.
  EXPECT_EQ(f.state().waves, states.back().waves);
  EXPECT_TRUE(f.document.isModified());
}

TEST(EditActions, AWaveFileThatCannotBeWrittenIsListedAndTheUndoHappens) {
  EditFixture f;
  f.add(10);
  f.select({0});
  f.frame.commandDelete();
  const QString wave = f.dir.filePath(QStringLiteral("scene00001000.wav"));
  QFile::remove(wave);
  QDir().mkdir(wave);  // a folder where the file should go
  f.frame.undoStack()->undo();
  EXPECT_EQ(f.times(), std::vector<std::string>{"00:00:10:00"});
  ASSERT_FALSE(f.prompts.errorDetails.empty());
  EXPECT_EQ(f.prompts.asked.back(), "error: These wave files could not be written:");
  EXPECT_TRUE(f.prompts.errorDetails.back().contains(QStringLiteral("scene00001000.wav")));
}

// Another program's hold on the document is stood in for by a second lock
// from this process: flock on its own open of the lock file waits just the same.
TEST(EditActions, WaveFilesWaitForTheDocumentLockAndNameItWhenItStaysTaken) {
  EditFixture f;
  f.add(10);
  f.select({0});
  f.frame.commandDelete();
  f.removeWaves();
  const std::filesystem::path path = f.document.path();
  std::string error;
  std::atomic<bool> held{false}, released{false};
  std::thread holder([&] {
    std::string threadError;
    auto lock = DocumentLock::acquire(path, std::chrono::seconds(1), threadError);
    held = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    released = true;
  });
  while (!held) std::this_thread::yield();
  f.frame.undoStack()->undo();  // waits for the holder, then writes
  holder.join();
  EXPECT_TRUE(released.load());
  EXPECT_FALSE(f.state().waves.at("scene00001000.wav").isEmpty());
  EXPECT_TRUE(f.prompts.errorDetails.empty());

  // Held past the wait: the undo happens, the report names the locked file,
  // and a New keeps the document as it was.
  auto lock = DocumentLock::tryAcquire(path, error);
  ASSERT_TRUE(lock) << error;
  f.frame.undoStack()->redo();
  f.removeWaves();
  f.frame.undoStack()->undo();
  EXPECT_EQ(f.times(), std::vector<std::string>{"00:00:10:00"});
  EXPECT_TRUE(f.state().waves.at("scene00001000.wav").isEmpty());
  ASSERT_EQ(f.prompts.errorDetails.size(), 1u);
  EXPECT_TRUE(f.prompts.errorDetails[0].contains(QStringLiteral("cannot lock")))
      << f.prompts.errorDetails[0].toStdString();
  EXPECT_TRUE(f.prompts.errorDetails[0].contains(QStringLiteral("scene.qtd")));
  const int steps = f.frame.undoStack()->count();
  f.add(20);
  EXPECT_EQ(f.frame.undoStack()->count(), steps);
  EXPECT_EQ(f.prompts.asked.back().rfind("wave failed: cannot lock", 0), 0u) << f.prompts.asked.back();
}

TEST(EditActions, DeleteCutAndCopyActOnEverySelectedRowAsOneStep) {
  EditFixture f;
  for (int s : {10, 20, 30, 40}) f.add(s);
  f.select({1, 3});
  f.frame.editCopy();
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_TRUE(data->hasFormat(QStringLiteral("text/csv")));
  EXPECT_TRUE(
      QString::fromUtf8(data->data(QStringLiteral("text/csv"))).startsWith(QStringLiteral("insert_time,timed,")));
  EXPECT_TRUE(data->text().startsWith(QStringLiteral("insert_time\ttimed\t")));
  EXPECT_EQ(data->text().count(QLatin1Char('\n')), 3);

  const int before = f.frame.undoStack()->count();
  f.frame.editCut();
  EXPECT_EQ(f.times(), (std::vector<std::string>{"00:00:10:00", "00:00:30:00"}));
  EXPECT_EQ(f.list().selectedRow(), 1) << "the command after the first cut one is current";
  f.select({0, 1});
  f.frame.commandDelete();
  EXPECT_EQ(f.document.commandCount(), 0u);
  EXPECT_EQ(f.frame.undoStack()->count(), before + 2);
  f.frame.undoStack()->undo();
  f.frame.undoStack()->undo();
  EXPECT_EQ(f.times(), (std::vector<std::string>{"00:00:10:00", "00:00:20:00", "00:00:30:00", "00:00:40:00"}));
  EXPECT_EQ(f.list().selectedRows(), (std::vector<int>{1, 3})) << "the restored commands are selected";
}

TEST(EditActions, PasteGoesRightAfterTheCurrentTransmissionKeepingTheSpacing) {
  EditFixture f;
  f.add(10);
  f.add(12, 1);
  f.add(50, 2);
  f.select({0, 1});
  f.frame.editCopy();
  f.select({2});  // 00:00:50:00 with 2 retransmissions: its transmission ends at 00:00:53:00
  f.frame.editPaste();
  EXPECT_EQ(f.times(),
            (std::vector<std::string>{"00:00:10:00", "00:00:12:00", "00:00:50:00", "00:00:53:00", "00:00:55:00"}));
  EXPECT_EQ(f.list().selectedRows(), (std::vector<int>{3, 4}));
  f.frame.undoStack()->undo();
  EXPECT_EQ(f.document.commandCount(), 3u);
  // Pasted onto the first command's transmission: asked once (Abort or
  // Ignore), the clash named.
  for (const ConflictChoice choice : {ConflictChoice::Abort, ConflictChoice::Ignore}) {
    f.prompts.conflicts = {choice};
    f.prompts.clashes.clear();
    f.select({0});
    f.frame.editPaste();
    EXPECT_EQ(f.document.commandCount(), choice == ConflictChoice::Abort ? 3u : 5u);
    ASSERT_EQ(f.prompts.clashes.size(), 1u);
    EXPECT_EQ(f.prompts.clashes[0], QStringLiteral("It overlaps KEEP_ALIVE at 00:00:12:00."));
  }
  // Text that is not a command list is refused with the line and the value.
  auto* text = new QMimeData;
  text->setText(QStringLiteral("00:00:01:00\tmaybe\t00:00:01:00\t0\tKEEP_ALIVE\t\t\t"));
  QGuiApplication::clipboard()->setMimeData(text);
  f.frame.editPaste();
  EXPECT_EQ(f.prompts.asked.back(), "error: The clipboard holds no commands to paste.");
  EXPECT_TRUE(f.prompts.errorDetails.back().startsWith(QStringLiteral("clipboard line 1: timed")));
}

TEST(EditActions, ShiftTimesProposesItsScopeAndAsksAboutTimesAndOverlaps) {
  EditFixture f;
  for (int s : {10, 20, 30}) f.add(s);
  // One selected row: from it on; several: the selection.
  f.select({1});
  f.frame.shiftTimes();
  f.select({0, 2});
  f.frame.shiftTimes();
  ASSERT_EQ(f.prompts.shiftProposals.size(), 2u);
  EXPECT_EQ(f.prompts.shiftProposals[0].scope, ShiftScope::FromFirstSelected);
  EXPECT_EQ(f.prompts.shiftProposals[1].scope, ShiftScope::Selection);

  // Out of the day: refused, back to the dialog (then cancelled).
  f.select({0});
  f.prompts.shifts = {ShiftRequest{int64_t(-11) * 25, ShiftScope::FromFirstSelected}};
  f.frame.shiftTimes();
  EXPECT_EQ(f.times(), (std::vector<std::string>{"00:00:10:00", "00:00:20:00", "00:00:30:00"}));
  EXPECT_EQ(f.prompts.asked[f.prompts.asked.size() - 2],
            "error: The commands cannot be moved outside 00:00:00:00 to 23:59:59:24.");
  EXPECT_EQ(f.prompts.asked.back(), "shift times");

  // The selected 00:00:20:00 moved onto 00:00:30:00.
  struct Case {
    ConflictChoice choice;
    std::vector<std::string> times;
    size_t dialogs;
  };
  const Case cases[] = {
      {ConflictChoice::Abort, {"00:00:10:00", "00:00:20:00", "00:00:30:00"}, 1},
      {ConflictChoice::Retry, {"00:00:10:00", "00:00:20:00", "00:00:30:00"}, 2},
      {ConflictChoice::Ignore, {"00:00:10:00", "00:00:30:00", "00:00:30:00"}, 1},
  };
  for (const Case& c : cases) {
    f.select({1, 1});
    f.prompts.shiftProposals.clear();
    f.prompts.shifts = {ShiftRequest{250, ShiftScope::Selection}};
    f.prompts.conflicts = {c.choice};
    f.frame.shiftTimes();
    EXPECT_EQ(f.times(), c.times) << int(c.choice);
    EXPECT_EQ(f.prompts.shiftProposals.size(), c.dialogs) << int(c.choice);
    if (c.dialogs == 2) {
      EXPECT_EQ(f.prompts.shiftProposals[1].frames, 250) << "Retry shows the dialog as it was left";
    }
  }
}

TEST(EditActions, GoToTimeMakesTheCommandAtOrAfterItCurrent) {
  EditFixture f;
  for (int s : {10, 20, 30}) f.add(s);
  const std::pair<CSMPTETime, int> cases[] = {{CSMPTETime(0, 0, 20, 0), 1},
                                              {CSMPTETime(0, 0, 20, 1), 2},
                                              {CSMPTETime(0, 0, 0, 0), 0},
                                              {CSMPTETime(1, 0, 0, 0), 2}};
  for (const auto& [time, row] : cases) {
    f.prompts.goToTimes.push_back(time);
    f.frame.goToTime();
    EXPECT_EQ(f.list().selectedRow(), row) << time.text();
    EXPECT_EQ(f.list().currentIndex().row(), row) << time.text();
  }
}

TEST(EditActions, ExportedListImportsIntoAnEmptyDocumentAsTheSameCommands) {
  EditFixture f;
  f.add(10, 2);
  f.prompts.edits.push_back([](CCommand& c) {
    c.MoveStart(CSMPTETime(0, 1, 0, 5));
    c.SetTimed(true);
    c.SetResponseTime(CSMPTETime(0, 1, 4, 5));
    c.SetCommand(0x20);
    return true;
  });
  f.frame.commandNew();
  const QString list = f.dir.filePath(QStringLiteral("list.csv"));
  f.prompts.listNames = {list};
  f.frame.exportList();
  const State exported = f.state();

  EditFixture g;
  g.prompts.listNames = {list};
  g.frame.importList();
  State imported = g.state();
  EXPECT_EQ(imported.rows.size(), 2u);
  for (size_t row = 0; row < imported.rows.size(); ++row) EXPECT_EQ(imported.rows[row], exported.rows[row]);
  EXPECT_EQ(g.frame.undoStack()->undoText(), QStringLiteral("Import List"));

  // A bad row refuses the whole list, naming the file, the line and the value.
  QFile bad(g.dir.filePath(QStringLiteral("bad.csv")));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("insert_time,timed,response_time,retransmissions,command,parameter,mode,icon\r\n"
            "00:00:01:00,no,00:00:01:00,0,KEEP_ALIVE,,,\r\n"
            "00:00:02:00,no,00:00:02:00,16,KEEP_ALIVE,,,\r\n");
  bad.close();
  g.prompts.listNames = {bad.fileName()};
  g.frame.importList();
  EXPECT_EQ(g.document.commandCount(), 2u);
  EXPECT_EQ(g.prompts.asked.back(), "error: The list could not be imported.");
  EXPECT_TRUE(g.prompts.errorDetails.back().startsWith(QStringLiteral("bad.csv line 3: retransmissions \"16\"")))
      << g.prompts.errorDetails.back().toStdString();
}

}  // namespace
}  // namespace vtq
