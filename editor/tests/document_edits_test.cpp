// Changes to the command list by serial: insert, remove and put back,
// replace, move by an offset; each checks first and changes all or nothing,
// and announces its row steps.
#include <gtest/gtest.h>

#include "common/testing/cli_run.h"
#include "core/command_codes.h"
#include "core/document.h"
#include "core/document_edits.h"

using namespace vtq;
using testing_support::TempDir;

namespace {

// "ss" or "ss:ff" seconds within the first minute, enough for these cases.
CSMPTETime at(uint32_t seconds, uint32_t frames = 0) { return CSMPTETime(0, 0, seconds, frames); }

std::unique_ptr<CCommand> command(CSMPTETime time, uint8_t repeats = 0, std::optional<CSMPTETime> response = {}) {
  auto c = std::make_unique<CCommand>();
  c->MoveStart(time);
  c->setRetransmissions(repeats);
  if (response) {
    c->SetTimed(true);
    EXPECT_TRUE(c->SetResponseTime(*response));
  }
  return c;
}

// Records the observer's calls as short words ("+1", "-0", "2>0", "~1", "reset").
struct Log : DocumentObserver {
  std::vector<std::string> steps;
  void aboutToInsert(size_t) override {}
  void inserted(size_t row) override { steps.push_back("+" + std::to_string(row)); }
  void aboutToRemove(size_t) override {}
  void removed(size_t row) override { steps.push_back("-" + std::to_string(row)); }
  void aboutToMove(size_t, size_t) override {}
  void moved(size_t from, size_t to) override { steps.push_back(std::to_string(from) + ">" + std::to_string(to)); }
  void changed(size_t row) override { steps.push_back("~" + std::to_string(row)); }
  void aboutToReset() override {}
  void reset() override { steps.push_back("reset"); }
};

struct Doc {
  TempDir dir;
  CQuorlinVTQEditorDoc document;
  Log log;

  // Commands in the given row order (not sorted: a file may hold any order).
  explicit Doc(std::vector<std::unique_ptr<CCommand>> commands) {
    DocumentError error;
    EXPECT_TRUE(document.newDocument(dir / "scene.qtd", error));
    for (auto& c : commands) document.insertRow(document.commandCount(), std::move(c));
    document.setObserver(&log);
  }
  std::vector<CommandSerial> serials(std::initializer_list<size_t> rows) const {
    std::vector<CommandSerial> result;
    for (size_t row : rows) result.push_back(document.commandAt(row)->serial());
    return result;
  }
  std::string times() const {
    std::string text;
    for (const auto& c : document.commands()) text += (text.empty() ? "" : " ") + c->insertTime().text().substr(6);
    return text;
  }
};

std::vector<std::unique_ptr<CCommand>> list(std::initializer_list<uint32_t> seconds) {
  std::vector<std::unique_ptr<CCommand>> commands;
  for (uint32_t s : seconds) commands.push_back(command(at(s)));
  return commands;
}

}  // namespace

TEST(DocumentEdits, InsertPlacesByTimeOrRefusesTheFirstOverlap) {
  struct Case {
    std::vector<uint32_t> existing, added;
    ConflictPolicy policy;
    EditStatus status;
    const char* times;          // after the call
    size_t conflictRequest;     // the request index named by a conflict
    const char* conflictOther;  // the other command's time
  };
  const size_t none = size_t(-1);
  const Case cases[] = {
      {{2, 8}, {5}, ConflictPolicy::Refuse, EditStatus::Done, "02:00 05:00 08:00", none, ""},
      {{2, 8}, {9, 0}, ConflictPolicy::Refuse, EditStatus::Done, "00:00 02:00 08:00 09:00", none, ""},
      {{2, 8}, {8}, ConflictPolicy::Refuse, EditStatus::Conflict, "02:00 08:00", 0, "00:00:08:00"},
      {{2, 8}, {5, 2}, ConflictPolicy::Refuse, EditStatus::Conflict, "02:00 08:00", 1, "00:00:02:00"},
      {{}, {4, 4}, ConflictPolicy::Refuse, EditStatus::Conflict, "", 1, "00:00:04:00"},
      {{2, 8}, {2}, ConflictPolicy::Ignore, EditStatus::Done, "02:00 02:00 08:00", none, ""},
  };
  for (const Case& c : cases) {
    std::vector<std::unique_ptr<CCommand>> existing, added;
    for (uint32_t s : c.existing) existing.push_back(command(at(s)));
    for (uint32_t s : c.added) added.push_back(command(at(s)));
    Doc doc(std::move(existing));
    const EditResult result = insertCommands(doc.document, std::move(added), c.policy);
    EXPECT_EQ(result.status, c.status) << c.times;
    EXPECT_EQ(doc.times(), c.times);
    if (c.status == EditStatus::Conflict) {
      EXPECT_EQ(result.conflict.requestIndex, c.conflictRequest) << c.times;
      EXPECT_EQ(result.conflict.otherTime.text(), c.conflictOther) << c.times;
      EXPECT_TRUE(doc.log.steps.empty());
    } else {
      EXPECT_EQ(result.serials.size(), c.added.size());
      for (CommandSerial serial : result.serials) EXPECT_NE(doc.document.rowOf(serial), std::string::npos);
    }
  }
}

TEST(DocumentEdits, CommandsOfOneRequestAtOneTimeKeepTheirOrder) {
  Doc doc(list({1}));
  std::vector<std::unique_ptr<CCommand>> added;
  added.push_back(command(at(5)));
  added.push_back(command(at(5)));
  added[1]->SetCommand(kPlaySound);
  const EditResult result = insertCommands(doc.document, std::move(added), ConflictPolicy::Ignore);
  ASSERT_TRUE(result);
  EXPECT_EQ(doc.document.rowOf(result.serials[0]), 1u);
  EXPECT_EQ(doc.document.rowOf(result.serials[1]), 2u);
  EXPECT_EQ(doc.log.steps, (std::vector<std::string>{"+1", "+2"}));
}

// Undoing a removal puts the commands back at their rows, also where equal
// times or a file's own order would put them elsewhere, with their serials.
TEST(DocumentEdits, RemovedCommandsGoBackWhereTheyWere) {
  Doc doc(list({9, 3, 3, 1, 7}));
  const std::vector<CommandSerial> before = doc.serials({0, 1, 2, 3, 4});
  RemovedCommands removed = removeCommands(doc.document, doc.serials({4, 2, 0}));
  ASSERT_EQ(removed.status, EditStatus::Done);
  EXPECT_EQ(removed.rows, (std::vector<size_t>{0, 2, 4}));
  EXPECT_EQ(doc.times(), "03:00 01:00");
  EXPECT_EQ(doc.log.steps, (std::vector<std::string>{"-4", "-2", "-0"}));
  insertRemoved(doc.document, std::move(removed.commands), removed.rows);
  EXPECT_EQ(doc.serials({0, 1, 2, 3, 4}), before);

  const RemovedCommands missing = removeCommands(doc.document, {before[0], 999});
  EXPECT_EQ(missing.status, EditStatus::NotFound);
  EXPECT_EQ(missing.offending, 999u);
  EXPECT_EQ(doc.document.commandCount(), 5u);
}

TEST(DocumentEdits, ReplaceKeepsTheSerialAndIgnoresTheReplacedCommandInItsCheck) {
  Doc doc(list({2, 4, 8}));
  const CommandSerial serial = doc.serials({1})[0];
  // At 02:10 it would overlap 02:00 only; the replaced one at 04:00 does not count.
  EXPECT_EQ(replaceCommand(doc.document, serial, command(at(2, 10)), ConflictPolicy::Refuse).status,
            EditStatus::Conflict);
  std::unique_ptr<CCommand> previous;
  ASSERT_TRUE(replaceCommand(doc.document, serial, command(at(5)), ConflictPolicy::Refuse, &previous));
  EXPECT_EQ(doc.times(), "02:00 05:00 08:00");
  EXPECT_EQ(doc.document.rowOf(serial), 1u);
  ASSERT_TRUE(previous);
  EXPECT_EQ(previous->insertTime(), at(4));
  EXPECT_EQ(replaceCommand(doc.document, 999, command(at(6)), ConflictPolicy::Ignore).status, EditStatus::NotFound);
}

TEST(DocumentEdits, MoveShiftsByFramesOrRefusesWithNothingChanged) {
  struct Case {
    const char* name;
    std::initializer_list<size_t> rows;  // of the list 02:00, 04:00 (timed, response 10:00), 08:00
    int64_t frames;
    EditStatus status;
    const char* times;
  };
  const Case cases[] = {
      {"later", {1, 2}, 25, EditStatus::Done, "02:00 05:00 09:00"},
      {"past a neighbour", {0}, 7 * 25, EditStatus::Done, "04:00 08:00 09:00"},
      {"onto a neighbour", {0}, 2 * 25, EditStatus::Conflict, "02:00 04:00 08:00"},
      {"before the day", {0, 1}, -3 * 25, EditStatus::OutOfRange, "02:00 04:00 08:00"},
      {"response after the day", {1}, CSMPTETime::kFramesPerDay - 10 * 25, EditStatus::OutOfRange, "02:00 04:00 08:00"},
      {"everything to the start", {0, 1, 2}, -2 * 25, EditStatus::Done, "00:00 02:00 06:00"},
  };
  for (const Case& c : cases) {
    std::vector<std::unique_ptr<CCommand>> commands;
    commands.push_back(command(at(2)));
    commands.push_back(command(at(4), 0, at(10)));
    commands.push_back(command(at(8)));
    Doc doc(std::move(commands));
    const CommandSerial timed = doc.serials({1})[0];
    const EditResult result = moveCommands(doc.document, doc.serials(c.rows), c.frames, ConflictPolicy::Refuse);
    EXPECT_EQ(result.status, c.status) << c.name;
    EXPECT_EQ(doc.times(), c.times) << c.name;
    const CCommand& moved = *doc.document.commandBySerial(timed);
    EXPECT_EQ((moved.responseTime() - moved.insertTime()).frameCount(), 6u * 25) << c.name;
    if (c.status == EditStatus::OutOfRange) {
      EXPECT_NE(result.offending, 0u) << c.name;
    }
  }
}

// A list that already overlaps (after an Ignore) can still be shifted as a
// whole: commands moved together keep their spacing.
TEST(DocumentEdits, OverlapsBetweenCommandsMovedTogetherAreNotNew) {
  Doc doc(list({2, 2, 9}));
  const std::vector<CommandSerial> order = doc.serials({0, 1, 2});
  ASSERT_TRUE(moveCommands(doc.document, order, 25, ConflictPolicy::Refuse));
  EXPECT_EQ(doc.times(), "03:00 03:00 10:00");
  EXPECT_EQ(doc.serials({0, 1, 2}), order);
  ConflictPair pair;
  ASSERT_TRUE(findConflict(doc.document, {}, pair));
  EXPECT_EQ(pair.movedTime, at(3));
  EXPECT_EQ(moveCommands(doc.document, doc.serials({0}), 7 * 25, ConflictPolicy::Refuse).status, EditStatus::Conflict);
}

// The list model sees a reorder as moves of rows, never as a reset.
TEST(DocumentEdits, AMoveIsAnnouncedAsRowMoves) {
  Doc doc(list({2, 4, 8}));
  ASSERT_TRUE(moveCommands(doc.document, doc.serials({0}), 8 * 25, ConflictPolicy::Refuse));
  // The moved command's own row shows its new time.
  EXPECT_EQ(doc.log.steps, (std::vector<std::string>{"1>0", "2>1", "~2"}));
  EXPECT_EQ(doc.times(), "04:00 08:00 10:00");
}

TEST(DocumentEdits, WaveFilesAreWrittenUnderTheirNewNamesAndFailuresListed) {
  Doc doc(list({2, 4}));
  ASSERT_TRUE(moveCommands(doc.document, doc.serials({1}), 25, ConflictPolicy::Refuse));
  EXPECT_TRUE(writeWaveFiles(doc.document, doc.serials({0, 1})).empty());
  EXPECT_TRUE(doc.dir.exists("scene00000500.wav"));
  EXPECT_EQ(doc.document.commandAt(1)->fileName(), "scene00000500.wav");
  std::filesystem::remove(doc.dir / "scene00000200.wav");
  std::filesystem::create_directory(doc.dir / "scene00000200.wav");  // a folder where the file goes
  const std::vector<std::string> failures = writeWaveFiles(doc.document, doc.serials({0, 1}));
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_NE(failures[0].find("scene00000200.wav"), std::string::npos) << failures[0];
}
