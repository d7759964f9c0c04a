// The document's command operations: New, Edit, Delete and the conflict
// check of InsertCommand, with the dialog and the message box answered by a
// script.
#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "common/testing/cli_run.h"
#include "core/command_codes.h"
#include "core/document.h"

using namespace vtq;
using testing_support::TempDir;

namespace {

CSMPTETime tc(uint32_t h, uint32_t m, uint32_t s, uint32_t f) { return CSMPTETime(h, m, s, f); }

// Answers the document's questions from queues and records what was asked.
class ScriptedPrompts : public CommandPrompts {
 public:
  std::deque<std::function<bool(CCommand&)>> edits;  // empty: confirm unchanged
  std::deque<ConflictChoice> conflicts;
  std::vector<std::string> proposed;  // insert times the dialog was shown with
  std::vector<std::string> warnings;
  std::vector<std::string> waveFailures;

  bool editCommand(CCommand& command) override {
    proposed.push_back(command.insertTime().text());
    if (edits.empty()) return true;
    auto edit = std::move(edits.front());
    edits.pop_front();
    return edit(command);
  }
  ConflictChoice conflict(const std::string& warning) override {
    warnings.push_back(warning);
    if (conflicts.empty()) return ConflictChoice::Abort;
    const ConflictChoice choice = conflicts.front();
    conflicts.pop_front();
    return choice;
  }
  bool waveFailed(const std::string& message) override {
    waveFailures.push_back(message);
    return false;
  }
};

std::function<bool(CCommand&)> moveTo(CSMPTETime t) {
  return [t](CCommand& c) {
    c.MoveStart(t);
    return true;
  };
}

struct Fixture {
  TempDir dir;
  CQuorlinVTQEditorDoc document;

  Fixture() {
    DocumentError error;
    EXPECT_TRUE(document.newDocument(dir / "scene.qtd", error)) << error.detail;
  }
  // Adds a command at `t` with `repeats` retransmissions, without a conflict check.
  void add(CSMPTETime t, int repeats = 0) {
    ScriptedPrompts prompts;
    prompts.conflicts = {ConflictChoice::Ignore};
    auto command = std::make_unique<CCommand>(&document);
    command->MoveStart(t);
    command->setRetransmissions(uint8_t(repeats));
    EXPECT_EQ(document.InsertCommand(std::move(command), prompts), InsertOutcome::Inserted);
  }
  std::vector<std::string> times() const {
    std::vector<std::string> out;
    for (const auto& c : document.commands()) out.push_back(c->insertTime().text());
    return out;
  }
};

}  // namespace

TEST(Document, NewDocumentIsAnEmptyFileAt44100) {
  Fixture f;
  EXPECT_EQ(f.dir.readBytes("scene.qtd"), (std::vector<uint8_t>{0, 0, 0x44, 0xAC, 0, 0}));
  EXPECT_EQ(f.document.title(), "scene.qtd");
  EXPECT_EQ(f.document.baseName(), "scene");
  EXPECT_EQ(f.document.directory(), f.dir.path());
  EXPECT_FALSE(f.document.isModified());
  f.document.setSampleRate(48000);
  EXPECT_TRUE(f.document.isModified());
}

TEST(Document, ConflictCheckLooksAtBothNeighbours) {
  // A command with 1 retransmission at 00:00:10:00 lasts 2 s.
  struct Case {
    const char* what;
    CSMPTETime at;
    int repeats;
    bool conflict;
  };
  const Case cases[] = {
      {"follower at 11:24 overlaps", tc(0, 0, 11, 24), 0, true},
      {"follower at 12:00 is clear", tc(0, 0, 12, 0), 0, false},
      {"same insert time always warns", tc(0, 0, 10, 0), 0, true},
      {"new command before, reaching it", tc(0, 0, 9, 1), 0, true},
      {"new command ending exactly at it", tc(0, 0, 9, 0), 0, false},
      {"new command with repeats reaching it", tc(0, 0, 8, 0), 1, false},
      {"new command with repeats overlapping", tc(0, 0, 8, 1), 1, true},
      {"between, clear of both", tc(0, 0, 12, 0), 2, false},
      {"between, reaching the next", tc(0, 0, 12, 1), 2, true},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.add(tc(0, 0, 10, 0), 1);
    f.add(tc(0, 0, 15, 0));
    ScriptedPrompts prompts;
    prompts.conflicts = {ConflictChoice::Abort};
    auto command = std::make_unique<CCommand>(&f.document);
    command->MoveStart(c.at);
    command->setRetransmissions(uint8_t(c.repeats));
    const InsertOutcome outcome = f.document.InsertCommand(std::move(command), prompts);
    EXPECT_EQ(outcome, c.conflict ? InsertOutcome::Aborted : InsertOutcome::Inserted) << c.what;
    EXPECT_EQ(prompts.warnings.size(), c.conflict ? 1u : 0u) << c.what;
    EXPECT_EQ(f.document.commandCount(), c.conflict ? 2u : 3u) << c.what;
  }
}

TEST(Document, ConflictWarningTextAndAnswers) {
  Fixture f;
  f.add(tc(0, 0, 10, 0));
  // Abort: nothing inserted and no wave file written for the aborted command.
  ScriptedPrompts abort;
  abort.edits = {moveTo(tc(0, 0, 10, 10))};
  EXPECT_EQ(f.document.InsertCommand(std::make_unique<CCommand>(&f.document), abort), InsertOutcome::Aborted);
  ASSERT_EQ(abort.warnings.size(), 1u);
  EXPECT_EQ(abort.warnings[0], "Warning!\nTransmission of this command will conflict with other command.");
  EXPECT_FALSE(f.dir.exists("scene00001010.wav"));

  // Retry shows the dialog again with the command as edited; moved clear it goes in.
  ScriptedPrompts retry;
  retry.edits = {moveTo(tc(0, 0, 10, 10)), moveTo(tc(0, 0, 20, 0))};
  retry.conflicts = {ConflictChoice::Retry};
  EXPECT_EQ(f.document.InsertCommand(std::make_unique<CCommand>(&f.document), retry), InsertOutcome::Inserted);
  EXPECT_EQ(retry.proposed, (std::vector<std::string>{"00:00:00:00", "00:00:10:10"}));

  // Ignore inserts before a command at the same time.
  ScriptedPrompts ignore;
  ignore.conflicts = {ConflictChoice::Ignore};
  auto same = std::make_unique<CCommand>(&f.document);
  same->SetCommand(kStopAbility);
  same->MoveStart(tc(0, 0, 10, 0));
  EXPECT_EQ(f.document.InsertCommand(std::move(same), ignore), InsertOutcome::Inserted);
  EXPECT_EQ(f.times(), (std::vector<std::string>{"00:00:10:00", "00:00:10:00", "00:00:20:00"}));
  EXPECT_EQ(f.document.commandAt(0)->commandCode(), kStopAbility);
  EXPECT_EQ(f.document.commandAt(0)->fileName(), "scene00001000.wav");
  EXPECT_EQ(f.document.commandAt(0)->byteCodeText(), "0xF0");
}

TEST(Document, InsertKeepsInsertTimeOrder) {
  Fixture f;
  for (uint32_t s : {30u, 10u, 50u, 20u, 40u}) f.add(tc(0, 0, s, 0));
  EXPECT_EQ(f.times(),
            (std::vector<std::string>{"00:00:10:00", "00:00:20:00", "00:00:30:00", "00:00:40:00", "00:00:50:00"}));
}

TEST(Document, NewProposesTheDefaultsThenACopyMovedOnByItsLength) {
  Fixture f;
  ScriptedPrompts first;
  first.edits = {[](CCommand& c) {
    EXPECT_EQ(c.commandCode(), kKeepAlive);
    c.SetCommand(kPlaySound);
    static_cast<CPlaySound&>(c.param()).soundId = 17;
    c.MoveStart(tc(0, 0, 10, 0));
    c.setRetransmissions(2);
    return true;
  }};
  EXPECT_EQ(f.document.CommandNew(first), InsertOutcome::Inserted);
  EXPECT_EQ(first.proposed, (std::vector<std::string>{"00:00:00:00"}));

  ScriptedPrompts second;
  second.edits = {[](CCommand& c) {
    EXPECT_EQ(c.commandCode(), kPlaySound);
    EXPECT_EQ(static_cast<CPlaySound&>(c.param()).soundId, 17);
    EXPECT_EQ(c.retransmissions(), 2);
    EXPECT_EQ(c.fileName(), "");
    return true;
  }};
  f.document.setModified(false);
  EXPECT_EQ(f.document.CommandNew(second), InsertOutcome::Inserted);
  EXPECT_EQ(second.proposed, (std::vector<std::string>{"00:00:13:00"}));
  EXPECT_TRUE(f.document.isModified());
  EXPECT_EQ(f.times(), (std::vector<std::string>{"00:00:10:00", "00:00:13:00"}));

  // Cancel inserts nothing and leaves the document unmodified.
  ScriptedPrompts cancel;
  cancel.edits = {[](CCommand&) { return false; }};
  f.document.setModified(false);
  EXPECT_EQ(f.document.CommandNew(cancel), InsertOutcome::Cancelled);
  EXPECT_EQ(f.document.commandCount(), 2u);
  EXPECT_FALSE(f.document.isModified());
}

TEST(Document, EditReplacesTheCommandOrPutsItBack) {
  Fixture f;
  f.add(tc(0, 0, 10, 0));
  f.add(tc(0, 0, 20, 0));
  const CCommand* original = f.document.commandAt(1);

  // Moving the second command onto the first conflicts; Abort puts it back.
  ScriptedPrompts abort;
  abort.edits = {moveTo(tc(0, 0, 10, 0))};
  EXPECT_EQ(f.document.CommandEdit(1, abort), InsertOutcome::Aborted);
  EXPECT_EQ(f.document.commandAt(1), original);
  EXPECT_EQ(f.times(), (std::vector<std::string>{"00:00:10:00", "00:00:20:00"}));
  // The first command's wave file still holds its own transmission.
  EXPECT_EQ(f.document.commandAt(0)->fileName(), "scene00001000.wav");

  // The edit is not checked against the command itself.
  ScriptedPrompts same;
  same.edits = {[](CCommand& c) {
    c.setRetransmissions(3);
    return true;
  }};
  EXPECT_EQ(f.document.CommandEdit(1, same), InsertOutcome::Inserted);
  EXPECT_EQ(f.document.commandAt(1)->retransmissions(), 3);
  EXPECT_EQ(f.document.commandAt(1)->fileName(), "scene00002000.wav");

  // Moved before the first one, it changes places.
  ScriptedPrompts move;
  move.edits = {moveTo(tc(0, 0, 5, 0))};
  EXPECT_EQ(f.document.CommandEdit(1, move), InsertOutcome::Inserted);
  EXPECT_EQ(f.times(), (std::vector<std::string>{"00:00:05:00", "00:00:10:00"}));
  EXPECT_TRUE(f.dir.exists("scene00002000.wav"));  // the old wave file stays

  ScriptedPrompts none;
  EXPECT_FALSE(f.document.CommandEdit(2, none).has_value());
  EXPECT_TRUE(none.proposed.empty());
}

TEST(Document, DeleteRemovesTheCommandAndKeepsItsWaveFile) {
  Fixture f;
  f.add(tc(0, 0, 10, 0));
  f.document.setModified(false);
  EXPECT_FALSE(f.document.CommandDelete(1));
  EXPECT_FALSE(f.document.isModified());
  EXPECT_TRUE(f.document.CommandDelete(0));
  EXPECT_EQ(f.document.commandCount(), 0u);
  EXPECT_TRUE(f.document.isModified());
  EXPECT_TRUE(f.dir.exists("scene00001000.wav"));
}

TEST(Document, AWaveFileThatCannotBeWrittenKeepsTheCommandOut) {
  Fixture f;
  std::filesystem::create_directory(f.dir / "scene00001000.wav");
  ScriptedPrompts prompts;
  prompts.edits = {moveTo(tc(0, 0, 10, 0))};
  EXPECT_EQ(f.document.InsertCommand(std::make_unique<CCommand>(&f.document), prompts), InsertOutcome::WaveFailed);
  ASSERT_EQ(prompts.waveFailures.size(), 1u);
  EXPECT_NE(prompts.waveFailures[0].find("scene00001000.wav"), std::string::npos);
  EXPECT_EQ(f.document.commandCount(), 0u);
}

TEST(Document, SaveAndOpenKeepEverything) {
  Fixture f;
  f.document.setSampleRate(48000);
  f.add(tc(0, 0, 10, 0), 2);
  ScriptedPrompts prompts;
  prompts.edits = {[](CCommand& c) {
    c.SetCommand(kShowAnimation);
    auto& a = static_cast<CAnimation&>(c.param());
    a.pictureId = 5632;
    a.mode = CAnimation::kOnce;
    c.MoveStart(tc(0, 1, 0, 0));
    c.SetTimed(true);
    return c.SetResponseTime(tc(0, 2, 0, 0));
  }};
  ASSERT_EQ(f.document.CommandNew(prompts), InsertOutcome::Inserted);
  DocumentError error;
  ASSERT_TRUE(f.document.saveDocument(error));
  const auto saved = f.dir.readBytes("scene.qtd");

  CQuorlinVTQEditorDoc reopened;
  ASSERT_TRUE(reopened.openDocument(f.dir / "scene.qtd", error)) << error.detail;
  EXPECT_EQ(reopened.sampleRate(), 48000);
  ASSERT_EQ(reopened.commandCount(), 2u);
  const CCommand& c = *reopened.commandAt(1);
  EXPECT_EQ(c.document(), &reopened);
  EXPECT_EQ(c.GetDescription(), "DRIVING");
  EXPECT_EQ(c.effectiveResponseTime().text(), "00:02:00:00");
  EXPECT_EQ(c.byteCodeText(), "0x53801600");
  EXPECT_EQ(c.fileName(), "scene00010000.wav");
  ASSERT_TRUE(reopened.saveDocumentAs(f.dir / "copy.qtd", error));
  EXPECT_EQ(f.dir.readBytes("copy.qtd"), saved);
  EXPECT_EQ(reopened.title(), "copy.qtd");
}

TEST(Document, AFailedSaveKeepsThePreviousFileAndPath) {
  Fixture f;
  f.add(tc(0, 0, 10, 0));
  DocumentError error;
  ASSERT_TRUE(f.document.saveDocument(error));
  const auto before = f.dir.readBytes("scene.qtd");
  // A folder cannot be replaced by the document.
  std::filesystem::create_directory(f.dir / "folder.qtd");
  std::filesystem::create_directory(f.dir / "folder.qtd" / "inside");
  EXPECT_FALSE(f.document.saveDocumentAs(f.dir / "folder.qtd", error));
  EXPECT_EQ(error.message, "Failed to save document.");
  EXPECT_NE(error.detail.find("folder.qtd"), std::string::npos) << error.detail;
  EXPECT_EQ(f.document.title(), "scene.qtd");
  EXPECT_EQ(f.dir.readBytes("scene.qtd"), before);
  EXPECT_EQ(f.dir.files(), (std::vector<std::string>{"scene.qtd", "scene00001000.wav"}));
}
