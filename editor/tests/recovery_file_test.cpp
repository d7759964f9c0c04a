// Recovery files of unsaved changes and the identity of a document on disk.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "common/testing/cli_run.h"
#include "core/document_identity.h"
#include "core/recovery_file.h"

using namespace vtq;
using testing_support::TempDir;

namespace {

// The id of a process that has ended.
uint32_t endedProcess() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return uint32_t(child);
}

void setAge(const std::filesystem::path& file, int seconds) {
  std::filesystem::last_write_time(file, std::filesystem::file_time_type::clock::now() - std::chrono::seconds(seconds));
}

}  // namespace

TEST(RecoveryFile, TheRecordIsWrittenAndReadByteForByte) {
  const RecoveryRecord record{"/home/u/scene.qtd", 4242, {0x00, 0x00, 0x44, 0xAC, 0x00, 0x00}};
  const std::vector<uint8_t> bytes = encodeRecovery(record);
  std::vector<uint8_t> expected = {'V', 'T', 'Q', 'R', 'E', 'C', 'O', 'V', 1, 0, 0, 0, 0x92, 0x10, 0, 0, 17, 0, 0, 0};
  for (char c : std::string("/home/u/scene.qtd")) expected.push_back(uint8_t(c));
  expected.insert(expected.end(), record.qtd.begin(), record.qtd.end());
  EXPECT_EQ(bytes, expected);
  RecoveryRecord read;
  std::string error;
  ASSERT_TRUE(decodeRecovery(bytes, read, error));
  EXPECT_EQ(read.document, record.document);
  EXPECT_EQ(read.processId, 4242u);
  EXPECT_EQ(read.qtd, record.qtd);
  for (size_t cut : {size_t(5), size_t(19), size_t(30)}) {
    EXPECT_FALSE(decodeRecovery(std::span(bytes).first(cut), read, error)) << cut;
  }
}

// Offered only for the same document, newer than it, written by a process
// that is no longer running.
TEST(RecoveryFile, ARecoveryIsOfferedOnlyWhenItCanHoldLostChanges) {
  const struct {
    const char* name;
    bool otherDocument, olderThanDocument, writerRunning, documentGone;
    bool offered;
  } cases[] = {
      {"after a crash", false, false, false, false, true},
      {"document gone", false, false, false, true, true},
      {"saved since", false, true, false, false, false},
      {"writer still running", false, false, true, false, false},
      {"hash of another path", true, false, false, false, false},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const std::filesystem::path document = resolvedDocumentPath(dir / "scene.qtd");
    dir.write("scene.qtd", std::string("\0\0\x44\xAC\0\0", 6));
    RecoveryRecord record{c.otherDocument ? dir.path() / "other.qtd" : document,
                          c.writerRunning ? currentProcessId() : endedProcess(),
                          {1, 2, 3}};
    std::string error;
    ASSERT_TRUE(writeRecoveryFile(dir / "recovery", record, error)) << error;
    if (c.otherDocument) {  // as if the other path's hash were the same
      std::filesystem::rename(recoveryFileFor(dir / "recovery", record.document),
                              recoveryFileFor(dir / "recovery", document));
    }
    setAge(dir / "scene.qtd", c.olderThanDocument ? 0 : 60);
    if (c.olderThanDocument) setAge(recoveryFileFor(dir / "recovery", document), 60);
    if (c.documentGone) std::filesystem::remove(dir / "scene.qtd");
    const auto pending = pendingRecovery(dir / "recovery", document);
    EXPECT_EQ(pending.has_value(), c.offered) << c.name;
    if (pending) {
      EXPECT_EQ(pending->qtd, record.qtd);
    }
    removeRecoveryFile(dir / "recovery", document);
    EXPECT_FALSE(pendingRecovery(dir / "recovery", document)) << c.name;
  }
}

TEST(DocumentIdentity, AReplacedRewrittenOrRemovedFileIsAChange) {
  TempDir dir;
  const std::filesystem::path file = dir / "scene.qtd";
  dir.write("scene.qtd", std::string("one"));
  const DocumentIdentity first = documentIdentity(file);
  EXPECT_TRUE(first.exists);
  EXPECT_FALSE(changedOnDisk(first, file));
  dir.write("other", std::string("one"));
  std::filesystem::rename(dir / "other", file);  // as a safe save replaces it
  EXPECT_TRUE(changedOnDisk(first, file));
  const DocumentIdentity second = documentIdentity(file);
  std::ofstream(file, std::ios::app) << "two";  // in place, longer
  EXPECT_TRUE(changedOnDisk(second, file));
  std::filesystem::remove(file);
  EXPECT_TRUE(changedOnDisk(documentIdentity(dir / "x"), dir / "y") == false);
  EXPECT_TRUE(changedOnDisk(second, file));
}
