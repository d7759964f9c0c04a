// The File menu's "Render Cue Track..." and "Check Sound Track...", chosen
// from the menu with the file dialogs answered in code.
#include <gtest/gtest.h>

#include <QtCore/QFile>
#include <QtCore/QSettings>
#include <QtCore/QTemporaryDir>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>

#include "main_frame.h"
#include "sound_player.h"
#include "window_test_support.h"

namespace vtq {
namespace {

QAction* fileMenuAction(CMainFrame& frame, const QString& text) {
  for (QAction* action : frame.menuBar()->actions().at(0)->menu()->actions()) {
    if (action->text() == text) return action;
  }
  return nullptr;
}

TEST(CueTrackActions, RenderAndCheckShowTheirReports) {
  test::testApplication();
  QTemporaryDir dir;
  QSettings settings{dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat};
  RecentFiles recent{settings};
  CQuorlinVTQEditorDoc document;
  test::ScriptedPrompts prompts;
  SoundPlayer player;
  CMainFrame frame{{document, prompts, recent, player}};
  DocumentError error;
  ASSERT_TRUE(document.newDocument(dir.filePath(QStringLiteral("scene.qtd")).toStdString(), error));
  frame.updateView();
  prompts.edits.push_back([](CCommand& c) {
    c.MoveStart(CSMPTETime(0, 0, 2, 0));
    return true;
  });
  frame.commandNew();

  QAction* render = fileMenuAction(frame, QStringLiteral("Render Cue Track..."));
  QAction* check = fileMenuAction(frame, QStringLiteral("Check Sound Track..."));
  ASSERT_TRUE(render && check);
  render->trigger();  // cancelled: nothing written, nothing shown
  EXPECT_TRUE(prompts.reports.empty());
  const QString track = dir.filePath(QStringLiteral("track.wav"));
  const QString csv = dir.filePath(QStringLiteral("check.csv"));
  prompts.soundFileNames = {track, track, dir.filePath(QStringLiteral("none.wav"))};
  prompts.csvNames = {csv};
  render->trigger();
  check->trigger();
  check->trigger();
  ASSERT_EQ(prompts.reports.size(), 2u);
  EXPECT_TRUE(prompts.reports[0].contains(QStringLiteral("1 transmissions"))) << prompts.reports[0].toStdString();
  EXPECT_TRUE(prompts.reports[1].startsWith(QStringLiteral("00:00:02:00 0x10 found 00:00:02:00 +0 margin 40 dB\n")))
      << prompts.reports[1].toStdString();
  QFile saved(csv);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll().split('\n').at(1), QByteArray("00:00:02:00,0x10,found,,00:00:02:00,0,40,44100,1,1"));
  EXPECT_EQ(prompts.asked.back(), "error: The sound track was not checked.");
}

}  // namespace
}  // namespace vtq
