#include <gtest/gtest.h>

#include "common/testing/cli_run.h"
#include "convert/foundation/base_paths.h"
#include "convert/foundation/fatal_error.h"
#include "convert/foundation/id_tables.h"
#include "convert/foundation/keyed_list.h"
#include "convert/foundation/line_reader.h"

using namespace voconv;

TEST(LineReader, SkipsCommentsAndBlankLinesAndTrims) {
  LineReader reader("  first line ; comment\n\n\t ; only a comment\n\tsecond\tline\t\r\nlast");
  std::string line;
  ASSERT_TRUE(reader.next(line));
  EXPECT_EQ(line, "first line");
  EXPECT_EQ(reader.lineNumber(), 1);
  ASSERT_TRUE(reader.next(line));
  EXPECT_EQ(line, "second line");  // tabs count as blanks
  EXPECT_EQ(reader.lineNumber(), 4);
  ASSERT_TRUE(reader.next(line));
  EXPECT_EQ(line, "last");
  EXPECT_FALSE(reader.next(line));
}

TEST(LineReader, KeepsLinesLongerThan255Characters) {
  const std::string longLine(1000, 'x');
  LineReader reader(longLine + "\nnext");
  std::string line;
  ASSERT_TRUE(reader.next(line));
  EXPECT_EQ(line, longLine);
  ASSERT_TRUE(reader.next(line));
  EXPECT_EQ(line, "next");
}

TEST(FieldReader, SplitsOnCommasAndBlanksAndReadsNumbers) {
  struct Case {
    const char* line;
    std::vector<uint32_t> numbers;
  };
  const Case cases[] = {
      {"12,abc,3", {12, 0, 3}},
      {"1 2  3", {1, 2, 3}},     // a run of blanks before a field is skipped
      {"4,,5", {4, 0, 5}},       // an empty field counts as 0
      {"2(comment),7", {2, 7}},  // digits stop at the first other character
      {"-5,99999999999", {0, 0xFFFFFFFFu}},
      {"", {0}},
  };
  for (const auto& c : cases) {
    FieldReader fields(c.line);
    for (uint32_t expected : c.numbers) EXPECT_EQ(fields.number(), expected) << c.line;
  }
  FieldReader text("10, name.wav,2");
  EXPECT_EQ(text.number(), 10u);
  EXPECT_EQ(text.text(), "name.wav");
  EXPECT_EQ(text.number(), 2u);
  EXPECT_TRUE(text.atEnd());
  // One separator ends a field: a blank before a comma leaves an empty field.
  FieldReader spaced("a ,b");
  EXPECT_EQ(spaced.text(), "a");
  EXPECT_EQ(spaced.text(), "");
  EXPECT_EQ(spaced.text(), "b");
}

TEST(KeyedList, ReplaceOrAppendMovesTheKeyToTheEnd) {
  KeyedList<std::string> list;
  list.replaceOrAppend(5) = "a";
  list.replaceOrAppend(1) = "b";
  list.replaceOrAppend(5) = "c";
  std::vector<std::pair<uint32_t, std::string>> seen;
  for (const auto& r : list) seen.emplace_back(r.key, r.value);
  EXPECT_EQ(seen, (std::vector<std::pair<uint32_t, std::string>>{{1, "b"}, {5, "c"}}));
  ASSERT_NE(list.find(5), nullptr);
  EXPECT_EQ(*list.find(5), "c");
  EXPECT_EQ(list.find(7), nullptr);
  EXPECT_EQ(list.replaceOrAppend(9), "");  // a fresh record is empty
}

TEST(KeyedList, FindOrInsertSortedKeepsKeyOrderAndFindsExisting) {
  KeyedList<int> list;
  for (uint32_t key : {7u, 3u, 9u, 3u, 1u, 8u}) ++list.findOrInsertSorted(key);
  std::vector<std::pair<uint32_t, int>> seen;
  for (const auto& r : list) seen.emplace_back(r.key, r.value);
  EXPECT_EQ(seen, (std::vector<std::pair<uint32_t, int>>{{1, 1}, {3, 2}, {7, 1}, {8, 1}, {9, 1}}));
  EXPECT_TRUE(list.remove(3));
  EXPECT_FALSE(list.remove(3));
  EXPECT_EQ(list.size(), 4u);
}

TEST(IdTables, FirstScriptKeepsNumbersLaterScriptsGetLowestFree) {
  IdTables ids;
  ids.clear();
  ids.startScript(0);
  EXPECT_EQ(ids.sample(1), 1);
  EXPECT_EQ(ids.sample(2), 2);
  EXPECT_EQ(ids.sample(7), 7);
  ids.startScript(1);
  EXPECT_EQ(ids.sample(7), 3);  // collides: lowest free from 1 upward
  EXPECT_EQ(ids.sample(1), 4);
  EXPECT_EQ(ids.sample(7), 3);    // the same number again maps the same
  EXPECT_EQ(ids.sample(20), 20);  // no collision keeps the number
  EXPECT_EQ(ids.macro(7), 7);     // each kind has its own table
  ids.startScript(2);
  EXPECT_EQ(ids.sample(3), 5);
}

TEST(IdTables, NumberZeroMapsStablyWithinAScript) {
  IdTables ids;
  ids.clear();
  ids.startScript(0);
  EXPECT_EQ(ids.macro(0), 0);
  EXPECT_EQ(ids.macro(0), 0);
  ids.startScript(1);
  const uint16_t first = ids.macro(0);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(ids.macro(0), first);  // a second use of 0 returns the same number
}

TEST(IdTables, KindFlagsAndObjectReferences) {
  IdTables ids;
  ids.clear();
  ids.startScript(0);
  EXPECT_EQ(ids.keymap(0x4005), 0x4005);  // masked to 14 bits, flag added
  EXPECT_EQ(ids.layer(5), 0x8005);
  EXPECT_EQ(ids.table(0xC003), 0xC003);
  ids.startScript(1);
  EXPECT_EQ(ids.objectReference(0x0005), 0x0005);  // macro 5: not used yet
  EXPECT_EQ(ids.objectReference(0x4005), 0x4001);  // keymap 5 collides
  EXPECT_EQ(ids.objectReference(0x8005), 0x8001);
  EXPECT_EQ(ids.objectReference(0xC003), 0xC001);
  EXPECT_EQ(ids.objectReference(0xC003), 0xC001);
}

TEST(IdTables, RunningOutOfIdsIsFatal) {
  IdTables ids;
  ids.clear();
  ids.startScript(0);
  for (uint32_t n = 1; n <= kHighestNewId; ++n) ids.sample(uint16_t(n));
  ids.startScript(1);
  EXPECT_EQ(ids.sample(40000), 40000);  // unused numbers above the limit are kept
  try {
    ids.sample(1);
    FAIL() << "expected the IDs to run out";
  } catch (const FatalError& e) {
    EXPECT_STREQ(e.what(), "*** Fatal: Out of IDs.");
    EXPECT_EQ(e.exitCode(), 1);
  }
}

TEST(BasePaths, ResolvesThroughEachBasePathInOrder) {
  testing_support::TempDir dir;
  dir.write("proj/only_in_proj.txt", "x");
  dir.write("both.txt", "x");
  dir.write("proj/both.txt", "x");
  dir.write("other/Mixed/Case.TXT", "x");
  std::filesystem::create_directories(dir / "proj/folder.txt");
  BasePaths paths;
  const std::string proj = (dir / "proj").string();
  const std::string other = (dir / "other").string();
  ASSERT_TRUE(paths.add(proj));
  ASSERT_TRUE(paths.add(other));
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  EXPECT_EQ(paths.resolve("only_in_proj.txt"), std::filesystem::path(proj) / "only_in_proj.txt");
  EXPECT_EQ(paths.resolve("\\only_in_proj.txt"), std::filesystem::path(proj) / "only_in_proj.txt");
  EXPECT_EQ(paths.resolve("both.txt"), std::filesystem::path("both.txt"));  // entry 0 first
  EXPECT_EQ(paths.resolve("mixed\\case.txt"), std::filesystem::path(other) / "Mixed" / "Case.TXT");
  // Found nowhere (a folder is no file): the candidate under the last base path.
  EXPECT_EQ(paths.resolve("folder.txt"), std::filesystem::path(other) / "folder.txt");
  EXPECT_EQ(paths.resolve("missing.txt"), std::filesystem::path(other) / "missing.txt");
  std::filesystem::current_path(cwd);
}

TEST(BasePaths, HoldsAtMostNineEntries) {
  BasePaths paths;
  for (int i = 0; i < 8; ++i) EXPECT_TRUE(paths.add("p" + std::to_string(i)));
  EXPECT_FALSE(paths.add("one too many"));
  EXPECT_EQ(paths.entries().size(), 9u);
  EXPECT_EQ(paths.entries().front(), "");
}
