// The recovery of unsaved changes and the watch for changes by other
// programs, through the window's file flows with answers given in code.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <QtCore/QSettings>
#include <QtCore/QTemporaryDir>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

#include "common/file_io.h"
#include "core/qtd_format.h"
#include "core/recovery_file.h"
#include "disk_change_flow.h"
#include "recovery_flow.h"
#include "window_test_support.h"

namespace vtq {
namespace {

struct SafetyAnswers : FileSafetyPrompts {
  std::deque<bool> answers;  // empty: No
  std::vector<std::string> asked;
  bool next(const char* what) {
    asked.push_back(what);
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  bool restoreChanges(const QString&, const QDateTime&) override { return next("restore"); }
  bool reloadChanged(const QString&, bool modified) override { return next(modified ? "reload, losing" : "reload"); }
  bool overwriteChanged(const QString&) override { return next("overwrite"); }
  void failed(const QString& message) override { asked.push_back("failed: " + message.toStdString()); }
};

struct Fixture {
  QApplication& application = test::testApplication();
  QTemporaryDir dir;
  QSettings settings{dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat};
  RecentFiles recent{settings};
  CQuorlinVTQEditorDoc document;
  test::ScriptedPrompts prompts;
  SafetyAnswers answers;
  DocumentFlows flows{document, prompts, recent};
  QWidget window;
  std::filesystem::path folder = std::filesystem::path(dir.path().toStdString()) / "recovery";
  RecoveryFlow* recovery = nullptr;
  DiskChangeFlow* disk = nullptr;

  Fixture() {
    recovery = new RecoveryFlow(document, answers, folder, &window);
    disk = new DiskChangeFlow(document, answers, window);
    flows.addFileHooks(*disk);
    flows.addFileHooks(*recovery);
  }
  std::filesystem::path file(const char* name) const { return std::filesystem::path(dir.filePath(name).toStdString()); }
  // A document of `count` commands written by another program.
  void writeElsewhere(const char* name, int count) {
    CQuorlinVTQEditorDoc other;
    DocumentError error;
    ASSERT_TRUE(other.newDocument(file(name), error));
    test::ScriptedPrompts confirm;
    for (int i = 0; i < count; ++i) ASSERT_EQ(other.CommandNew(confirm), InsertOutcome::Inserted);
    ASSERT_TRUE(other.saveDocument(error));
  }
  void addCommand() { ASSERT_EQ(document.CommandNew(prompts), InsertOutcome::Inserted); }
};

uint32_t endedProcess() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return uint32_t(child);
}

TEST(RecoveryFlow, UnsavedChangesAreKeptUntilSavedOrDiscarded) {
  Fixture f;
  f.writeElsewhere("scene.qtd", 1);
  ASSERT_TRUE(f.flows.openDocument(f.dir.filePath("scene.qtd")));
  EXPECT_LE(std::chrono::milliseconds(f.recovery->timer().interval()), std::chrono::seconds(5));
  EXPECT_TRUE(f.recovery->timer().isActive());
  const std::filesystem::path recoveryFile = recoveryFileFor(f.folder, resolvedDocumentPath(f.file("scene.qtd")));
  f.recovery->checkpoint();
  EXPECT_FALSE(std::filesystem::exists(recoveryFile));  // nothing unsaved

  f.addCommand();
  f.recovery->checkpoint();
  std::vector<uint8_t> bytes;
  std::string error;
  ASSERT_TRUE(common::readWholeFile(recoveryFile, bytes, error));
  RecoveryRecord record;
  ASSERT_TRUE(decodeRecovery(bytes, record, error));
  EXPECT_EQ(record.qtd, writeQtd(f.document.commands(), f.document.sampleRate()));
  EXPECT_EQ(record.processId, currentProcessId());

  ASSERT_TRUE(f.flows.save());
  EXPECT_FALSE(std::filesystem::exists(recoveryFile));
  f.addCommand();
  f.recovery->checkpoint();
  EXPECT_TRUE(std::filesystem::exists(recoveryFile));
  delete f.recovery;  // the window closes without saving
  EXPECT_FALSE(std::filesystem::exists(recoveryFile));
}

// After a crash: Yes restores the changes as unsaved ones, No removes them.
TEST(RecoveryFlow, OpeningOffersTheChangesOfAnEndedRun) {
  for (const bool restore : {true, false}) {
    Fixture f;
    f.writeElsewhere("scene.qtd", 1);
    f.writeElsewhere("crashed.qtd", 3);  // the state the crashed run had
    const std::filesystem::path document = resolvedDocumentPath(f.file("scene.qtd"));
    std::vector<uint8_t> state;
    std::string error;
    ASSERT_TRUE(common::readWholeFile(f.file("crashed.qtd"), state, error));
    ASSERT_TRUE(writeRecoveryFile(f.folder, {document, endedProcess(), state}, error));
    std::filesystem::last_write_time(f.file("scene.qtd"),
                                     std::filesystem::file_time_type::clock::now() - std::chrono::minutes(1));
    f.answers.answers = {restore};
    ASSERT_TRUE(f.flows.openDocument(f.dir.filePath("scene.qtd")));
    EXPECT_EQ(f.answers.asked, std::vector<std::string>{"restore"});
    EXPECT_EQ(f.document.commandCount(), restore ? 3u : 1u);
    EXPECT_EQ(f.document.isModified(), restore);
    EXPECT_EQ(f.document.path(), f.file("scene.qtd"));
    EXPECT_EQ(std::filesystem::exists(recoveryFileFor(f.folder, document)), restore);
  }
}

TEST(DiskChangeFlow, AChangeByAnotherProgramIsOfferedForReload) {
  Fixture f;
  f.writeElsewhere("scene.qtd", 1);
  ASSERT_TRUE(f.flows.openDocument(f.dir.filePath("scene.qtd")));
  f.disk->checkNow();
  EXPECT_TRUE(f.answers.asked.empty());

  f.writeElsewhere("scene.qtd", 2);
  f.disk->checkNow();  // No: not asked again for the same change
  f.disk->checkNow();
  EXPECT_EQ(f.answers.asked, std::vector<std::string>{"reload"});
  EXPECT_EQ(f.document.commandCount(), 1u);

  f.writeElsewhere("scene.qtd", 3);
  f.addCommand();
  f.answers.answers = {true};
  f.disk->checkNow();
  EXPECT_EQ(f.answers.asked.back(), "reload, losing");
  EXPECT_EQ(f.document.commandCount(), 3u);
  EXPECT_FALSE(f.document.isModified());
}

// Save over a changed file asks, No being the default; a refused save keeps
// the other program's file; the lock is held while saving.
TEST(DiskChangeFlow, SavingOverAChangedFileAsksFirst) {
  Fixture f;
  f.writeElsewhere("scene.qtd", 1);
  ASSERT_TRUE(f.flows.openDocument(f.dir.filePath("scene.qtd")));
  f.addCommand();
  f.writeElsewhere("scene.qtd", 4);
  std::vector<uint8_t> theirs, now;
  std::string error;
  ASSERT_TRUE(common::readWholeFile(f.file("scene.qtd"), theirs, error));
  EXPECT_FALSE(f.flows.save());
  ASSERT_TRUE(common::readWholeFile(f.file("scene.qtd"), now, error));
  EXPECT_EQ(now, theirs);
  EXPECT_TRUE(f.document.isModified());

  f.answers.answers = {true};
  EXPECT_TRUE(f.flows.save());
  EXPECT_EQ(f.answers.asked, (std::vector<std::string>{"overwrite", "overwrite"}));
  EXPECT_TRUE(f.flows.save());  // unchanged since: not asked
  EXPECT_EQ(f.answers.asked.size(), 2u);
  // While a batch run holds the document, its lock is busy and Save waits;
  // a free lock again lets the save go on.
  std::string lockError;
  EXPECT_TRUE(DocumentLock::tryAcquire(f.file("scene.qtd"), lockError).has_value()) << lockError;
}

}  // namespace
}  // namespace vtq
