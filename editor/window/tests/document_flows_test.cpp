// The window's file flows: start-up, New with its overwrite question, the
// question before a modified document is discarded.
#include "document_flows.h"

#include <gtest/gtest.h>

#include <QtCore/QSettings>
#include <QtCore/QTemporaryDir>
#include <fstream>

#include "window_test_support.h"

namespace vtq {
namespace {

using test::ScriptedPrompts;

// A document, scripted prompts and a recent list kept in a settings file of a
// temporary folder.
struct FlowsFixture {
  QTemporaryDir dir;
  QSettings settings{dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat};
  RecentFiles recent{settings};
  CQuorlinVTQEditorDoc document;
  ScriptedPrompts prompts;
  DocumentFlows flows{document, prompts, recent};

  QString file(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
  // A saved document with one command (not through the flows under test).
  void writeDocumentWithCommand(const QString& path) {
    CQuorlinVTQEditorDoc other;
    DocumentError error;
    ASSERT_TRUE(other.newDocument(path.toStdString(), error));
    ScriptedPrompts confirm;
    ASSERT_EQ(other.CommandNew(confirm), InsertOutcome::Inserted);
    ASSERT_TRUE(other.saveDocument(error));
  }
};

std::vector<std::string> lines(std::initializer_list<const char*> texts) { return {texts.begin(), texts.end()}; }

TEST(DocumentFlows, StartUpWithoutRecentFilesAsksForAFileAndCancelEndsIt) {
  struct Case {
    std::deque<const char*> names;
    std::deque<OverwriteChoice> overwrites;
    bool started;
    std::vector<std::string> asked;
  };
  // "old.qtd" exists; "missing/x.qtd" cannot be written, so the question comes again.
  const Case cases[] = {
      {{nullptr}, {}, false, lines({"create"})},
      {{"old.qtd"}, {OverwriteChoice::Cancel}, false, lines({"create", "overwrite"})},
      {{"missing/x.qtd", "old.qtd"},
       {OverwriteChoice::Overwrite},
       true,
       lines({"create", "error: Failed to save document.", "create", "overwrite"})},
  };
  for (const Case& c : cases) {
    FlowsFixture f;
    f.writeDocumentWithCommand(f.file("old.qtd"));
    for (const char* name : c.names) f.prompts.createNames.push_back(name ? f.file(name) : QString());
    f.prompts.overwrites = c.overwrites;
    EXPECT_EQ(f.flows.startUp(std::nullopt), c.started);
    EXPECT_EQ(f.prompts.asked, c.asked);
    if (!c.started) continue;
    EXPECT_EQ(f.document.title(), "old.qtd");
    EXPECT_EQ(f.document.commandCount(), 0u);
    EXPECT_EQ(QFileInfo(f.file("old.qtd")).size(), 6);
    EXPECT_EQ(QSettings(f.file("settings.ini"), QSettings::IniFormat).value("Recent File List/File1").toString(),
              f.file("old.qtd"));
  }
}

TEST(DocumentFlows, StartUpOpensTheNamedFileElseTheMostRecentOne) {
  struct Case {
    const char* name;
    bool named;
    bool namedExists;
    const char* expectedTitle;
    std::vector<std::string> asked;
  };
  const Case cases[] = {
      {"recent list only", false, false, "recent.qtd", {}},
      {"named file", true, true, "named.qtd", {}},
      {"named file missing", true, false, "recent.qtd", {"error: Failed to open document."}},
  };
  for (const Case& c : cases) {
    FlowsFixture f;
    f.writeDocumentWithCommand(f.file("recent.qtd"));
    if (c.namedExists) f.writeDocumentWithCommand(f.file("named.qtd"));
    f.recent.add(f.file("recent.qtd"));
    f.flows.startUp(c.named ? std::optional(f.file("named.qtd")) : std::nullopt);
    EXPECT_EQ(f.document.title(), c.expectedTitle) << c.name;
    EXPECT_EQ(f.document.commandCount(), 1u) << c.name;
    EXPECT_EQ(f.prompts.asked, c.asked) << c.name;
    EXPECT_EQ(f.recent.entries().first(), f.file(c.expectedTitle)) << c.name;
  }
}

TEST(DocumentFlows, NoAtTheOverwriteQuestionOpensTheExistingDocument) {
  FlowsFixture f;
  f.writeDocumentWithCommand(f.file("scene.qtd"));
  f.prompts.createNames = {f.file("scene.qtd")};
  f.prompts.overwrites = {OverwriteChoice::OpenExisting};
  EXPECT_TRUE(f.flows.createDocument());
  EXPECT_EQ(f.document.commandCount(), 1u);
}

TEST(DocumentFlows, ANewDocumentThatCannotBeWrittenKeepsTheCurrentOne) {
  FlowsFixture f;
  f.writeDocumentWithCommand(f.file("scene.qtd"));
  ASSERT_TRUE(f.flows.openDocument(f.file("scene.qtd")));
  f.prompts.createNames = {f.file("no such folder/new.qtd")};
  EXPECT_FALSE(f.flows.createDocument());
  EXPECT_EQ(f.prompts.asked, lines({"create", "error: Failed to save document."}));
  EXPECT_EQ(f.document.title(), "scene.qtd");
  EXPECT_EQ(f.document.commandCount(), 1u);
}

TEST(DocumentFlows, AModifiedDocumentIsSavedOrDiscardedOnlyWhenTheUserSays) {
  const struct {
    SaveChoice choice;
    bool proceeds;
    qint64 sizeAfter;  // the file on disk: empty (6 bytes) unless saved
  } cases[] = {{SaveChoice::Save, true, 0}, {SaveChoice::Discard, true, 6}, {SaveChoice::Cancel, false, 6}};
  for (const auto& c : cases) {
    FlowsFixture f;
    f.prompts.createNames = {f.file("scene.qtd")};
    ASSERT_TRUE(f.flows.createDocument());
    ScriptedPrompts confirm;
    f.document.CommandNew(confirm);
    f.prompts.saveChoices = {c.choice};
    EXPECT_EQ(f.flows.saveModified(), c.proceeds);
    EXPECT_EQ(f.prompts.asked.back(), "save changes to scene.qtd");
    const qint64 size = QFileInfo(f.file("scene.qtd")).size();
    if (c.sizeAfter) {
      EXPECT_EQ(size, c.sizeAfter);
    } else {
      EXPECT_GT(size, 6);
    }
  }
}

}  // namespace
}  // namespace vtq
