// The timeline in the window: spans dragged and nudged as a user does it,
// snapped to frames, one undo step each, wave files written under the new
// names; the film sound remembered per document; the focus keys.
#include <gtest/gtest.h>

#include <QtCore/QFile>
#include <QtCore/QSettings>
#include <QtCore/QStandardPaths>
#include <QtCore/QTemporaryDir>
#include <QtGui/QUndoStack>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QStatusBar>

#include "command_list_view.h"
#include "common/byte_order.h"
#include "common/file_io.h"
#include "main_frame.h"
#include "sound_player.h"
#include "timeline/timeline_controller.h"
#include "window_fixture.h"
#include "window_test_support.h"

namespace vtq {
namespace {

using test::ScriptedPrompts;

// A silent mono 16-bit film sound of `seconds` at 48000 Hz.
std::vector<uint8_t> silence(uint32_t seconds) {
  common::ByteWriter w(common::Endian::Little);
  const uint32_t data = 48000 * 2 * seconds;
  w.text("RIFF");
  w.u32(36 + data);
  w.text("WAVEfmt ");
  for (const uint32_t v : {16u, 0x10001u, 48000u, 96000u, 0x100002u}) w.u32(v);
  w.text("data");
  w.u32(data);
  w.zeros(data);
  return w.take();
}

struct TimelineFixture : test::FrameWithDocument {
  TimelineFixture() {
    QStandardPaths::setTestModeEnabled(true);
    for (const int seconds : {2, 10}) add(seconds);
    std::string reason;
    EXPECT_TRUE(common::replaceFile("test", path("film.wav"), silence(20), reason));
    EXPECT_TRUE(timeline().openFilmSound(QString::fromStdString(path("film.wav"))));
    timeline().pane()->waitForSummary();
    frame.resize(1000, 700);
    frame.show();
    // A film frame over 15 columns (four sqrt(2) steps of eight from the finest, 240).
    view().scale().setZoom(8, 0);
    view().scrollToColumn(0);
    stepsBefore = frame.undoStack()->count();
  }
  int stepsBefore = 0;
  // The undo steps made since the commands were added.
  int steps() const { return frame.undoStack()->count() - stepsBefore; }
  std::string path(const char* name) const { return dir.filePath(QString::fromUtf8(name)).toStdString(); }
  TimelineController& timeline() { return *frame.timeline(); }
  TimelineView& view() { return *timeline().view(); }
  double columnsPerFrame() { return view().scale().samplesPerFilmFrame() / view().scale().framesPerPixel(); }
  std::string timeOf(size_t row) const { return document.commandAt(row)->insertTime().text(); }
  void drag(size_t row, double frames) {
    const QPointF from = view().spanRect(*document.commandAt(row)).center();
    const QPoint at = from.toPoint();
    QTest::mousePress(&view(), Qt::LeftButton, {}, at);
    const QPoint to = (from + QPointF(frames * columnsPerFrame(), 0)).toPoint();
    QMouseEvent move(QEvent::MouseMove, to, view().mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(&view(), &move);
    QTest::mouseRelease(&view(), Qt::LeftButton, {}, to);
  }
};

TEST(TimelineWindow, DragSnapsToFramesWritesTheWaveAndIsOneUndoStep) {
  TimelineFixture f;
  const QByteArray before = [&] {
    QFile wave(QString::fromStdString(f.path("scene00000200.wav")));
    return wave.open(QIODevice::ReadOnly) ? wave.readAll() : QByteArray();
  }();
  ASSERT_FALSE(before.isEmpty());
  f.drag(0, 2.4);
  EXPECT_EQ(f.timeOf(0), "00:00:02:02");
  QFile moved(QString::fromStdString(f.path("scene00000202.wav")));
  ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
  EXPECT_EQ(moved.readAll(), before);  // the same command's wave under its new name
  QUndoStack& undo = *f.frame.undoStack();
  ASSERT_EQ(f.steps(), 1);
  undo.undo();
  EXPECT_EQ(f.timeOf(0), "00:00:02:00");
  undo.redo();
  EXPECT_EQ(f.timeOf(0), "00:00:02:02");
  EXPECT_TRUE(f.view().selectedSerials() == std::vector<CommandSerial>{f.document.commandAt(0)->serial()});
}

TEST(TimelineWindow, SelectedSpansMoveTogetherAndStopAtZero) {
  TimelineFixture f;
  QAbstractItemModel& rows = *f.frame.listView()->model();
  f.frame.listView()->selectionModel()->select(QItemSelection(rows.index(0, 0), rows.index(1, 0)),
                                               QItemSelectionModel::Select | QItemSelectionModel::Rows);
  f.view().scale().setZoom(f.view().scale().zoomLadder().size() - 1, 0);  // the whole film
  f.drag(0, -150);
  EXPECT_EQ(f.timeOf(0), "00:00:00:00");
  EXPECT_EQ(f.timeOf(1), "00:00:08:00");
  EXPECT_EQ(f.steps(), 1);
}

TEST(TimelineWindow, AltArrowsNudgeByOneFrameEachAnUndoStep) {
  TimelineFixture f;
  f.frame.listView()->selectRow(1);
  f.view().setFocus();
  QTest::keyClick(&f.view(), Qt::Key_Right, Qt::AltModifier);
  QTest::keyClick(&f.view(), Qt::Key_Right, Qt::AltModifier);
  QTest::keyClick(&f.view(), Qt::Key_Left, Qt::AltModifier);
  EXPECT_EQ(f.timeOf(1), "00:00:10:01");
  EXPECT_EQ(f.steps(), 3);
  EXPECT_TRUE(QFile::exists(QString::fromStdString(f.path("scene00001001.wav"))));
}

TEST(TimelineWindow, AConflictingMoveIsAskedAndAbortLeavesEverything) {
  TimelineFixture f;
  f.view().scale().setZoom(f.view().scale().zoomLadder().size() - 1, 0);
  f.prompts.conflicts.push_back(ConflictChoice::Abort);
  f.drag(0, 25 * 8);  // onto the command at 00:00:10:00
  EXPECT_EQ(f.timeOf(0), "00:00:02:00");
  EXPECT_EQ(f.steps(), 0);
  ASSERT_FALSE(f.prompts.asked.empty());
  EXPECT_NE(f.prompts.asked.back().find("conflict"), std::string::npos);
}

TEST(TimelineWindow, TheFilmSoundComesBackWithItsDocumentAndAMissingOneIsToldOnce) {
  TimelineFixture f;
  f.timeline().setChannel(std::nullopt);
  f.timeline().documentOpened();  // as when the document is opened again
  ASSERT_NE(f.timeline().pane()->sound(), nullptr);
  EXPECT_EQ(f.timeline().pane()->sound()->path().string(), f.path("film.wav"));
  QFile::remove(QString::fromStdString(f.path("film.wav")));
  const size_t asked = f.prompts.asked.size();
  f.timeline().documentOpened();
  EXPECT_EQ(f.timeline().pane()->sound(), nullptr);
  EXPECT_EQ(f.prompts.asked.size(), asked + 1);
  f.timeline().documentOpened();
  EXPECT_EQ(f.prompts.asked.size(), asked + 1);
}

TEST(TimelineWindow, F6MovesTheFocusAndSpaceInTheTimelinePlaysTheFilm) {
  TimelineFixture f;
  QApplication::setActiveWindow(&f.frame);
  f.frame.listView()->setFocus();
  QTest::keyClick(&f.frame, Qt::Key_F6);
  EXPECT_TRUE(f.timeline().timelineHasFocus());
  QTest::keyClick(&f.view(), Qt::Key_Space);
  // Played, or told why not; never blocked.
  const QString said = f.frame.statusBar()->currentMessage();
  EXPECT_TRUE(said.startsWith(QStringLiteral("Playing from 00:00:00:00")) ||
              said.startsWith(QStringLiteral("No sound device")))
      << said.toStdString();
  if (f.timeline().pane()->isPlaying()) f.timeline().togglePlayback();
  QTest::keyClick(&f.view(), Qt::Key_F6, Qt::ShiftModifier);
  EXPECT_FALSE(f.timeline().timelineHasFocus());
}

}  // namespace
}  // namespace vtq
