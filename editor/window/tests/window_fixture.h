// Shared by the window tests: a main frame over a new, empty document
// "scene.qtd" in a temporary folder, with settings of its own and prompts
// answered in code.
#pragma once

#include <gtest/gtest.h>

#include <QtCore/QSettings>
#include <QtCore/QTemporaryDir>
#include <QtWidgets/QApplication>

#include "command_list_view.h"
#include "core/command.h"
#include "main_frame.h"
#include "sound_player.h"
#include "window_test_support.h"

namespace vtq::test {

struct FrameWithDocument {
  QApplication& app = testApplication();
  QTemporaryDir dir;
  QSettings settings{dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat};
  RecentFiles recent{settings};
  CQuorlinVTQEditorDoc document;
  ScriptedPrompts prompts;
  SoundPlayer player;
  CMainFrame frame{{document, prompts, recent, player}};

  FrameWithDocument() {
    DocumentError error;
    EXPECT_TRUE(document.newDocument(dir.filePath(QStringLiteral("scene.qtd")).toStdString(), error));
    frame.documentReplaced();
  }
  // Adds a command at `seconds` with `retransmissions` through New.
  void add(int seconds, int retransmissions = 0) {
    prompts.edits.push_back([=](CCommand& c) {
      c.MoveStart(CSMPTETime(0, 0, uint32_t(seconds), 0));
      c.setRetransmissions(uint8_t(retransmissions));
      return true;
    });
    frame.commandNew();
  }
  CommandListView& list() { return *frame.listView(); }
};

}  // namespace vtq::test
