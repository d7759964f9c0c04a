#include "common/file_io.h"

#include <gtest/gtest.h>

#include "common/testing/cli_run.h"

using testing_support::TempDir;

TEST(SafeFileWriter, ReplacesTheTargetOnlyOnCommit) {
  TempDir dir;
  dir.write("doc.bin", std::string("old"));
  {
    common::SafeFileWriter w("test");
    ASSERT_TRUE(w.open(dir / "doc.bin"));
    ASSERT_TRUE(w.write(std::string_view("new contents")));
    EXPECT_EQ(dir.readText("doc.bin"), "old");
    // Destroyed without commit: the old file stays and no temporary is left.
  }
  EXPECT_EQ(dir.readText("doc.bin"), "old");
  EXPECT_EQ(dir.files(), std::vector<std::string>{"doc.bin"});

  std::string error;
  ASSERT_TRUE(common::replaceFile("test", dir / "doc.bin", std::string_view("new"), error)) << error;
  EXPECT_EQ(dir.readText("doc.bin"), "new");
  EXPECT_EQ(dir.files(), std::vector<std::string>{"doc.bin"});
}

TEST(SafeFileWriter, ReportsFoldersThatCannotHoldTheFile) {
  TempDir dir;
  std::string error;
  EXPECT_FALSE(common::replaceFile("test", dir / "missing" / "x.bin", std::string_view("x"), error));
  EXPECT_NE(error.find("x.bin"), std::string::npos) << error;
  std::filesystem::create_directory(dir / "folder");
  EXPECT_FALSE(common::replaceFile("test", dir / "folder", std::string_view("x"), error));
  EXPECT_NE(error.find("folder"), std::string::npos) << error;
}

TEST(ReadWholeFile, ReadsBytesAndNamesAMissingFile) {
  TempDir dir;
  dir.write("a.bin", std::vector<uint8_t>{0, 1, 2, 255});
  std::vector<uint8_t> bytes;
  std::string error;
  ASSERT_TRUE(common::readWholeFile(dir / "a.bin", bytes, error));
  EXPECT_EQ(bytes, (std::vector<uint8_t>{0, 1, 2, 255}));
  EXPECT_FALSE(common::readWholeFile(dir / "b.bin", bytes, error));
  EXPECT_NE(error.find("b.bin"), std::string::npos);
}

TEST(TestSupport, AMissingFileIsNotReadAsEmpty) {
  TempDir dir;
  dir.write("empty.bin", std::string());
  EXPECT_EQ(dir.readText("empty.bin"), "");
  EXPECT_THROW(dir.readText("missing.bin"), std::runtime_error);
  EXPECT_THROW(dir.readBytes("missing.bin"), std::runtime_error);
}
