#include <gtest/gtest.h>

#include <sstream>

#include "convert/project/project_description.h"

using namespace voconv;

namespace {

struct Read {
  bool ok;
  ProjectDescription d;
  std::string out;
};

Read read(const std::string& text, bool verbose = false) {
  Read r;
  std::ostringstream s;
  common::Output out(s);
  r.ok = parseProjectDescription(text, "desc.txt", r.d, out, verbose);
  r.out = s.str();
  return r;
}

}  // namespace

TEST(ProjectDescription, EmptyFileGivesDefaultNamesInTheCurrentFolder) {
  const Read r = read("");
  ASSERT_TRUE(r.ok);
  EXPECT_TRUE(r.d.projectGroups.empty());
  EXPECT_EQ(r.d.outputBasePath, std::filesystem::path("default"));
  EXPECT_EQ(r.d.includeFilePath, std::filesystem::path("default.h"));
  EXPECT_EQ(r.out, "");
}

TEST(ProjectDescription, ReadsEverySectionAndListsItInVerboseMode) {
  const Read r =
      read("[Project]\nMusic Group\nEffects\n[Pool]\nMusic Group\nSTACK=Level1\n[Samples]\nSTACK=Base\nEffects\n"
           "[Name]\nfirst\n[Name]\nmusic\n[Include]\nsnd.h\n[OutputDirectory]\nout\n",
           true);
  ASSERT_TRUE(r.ok) << r.out;
  EXPECT_EQ(r.d.projectGroups, (std::vector<std::string>{"Music Group", "Effects"}));
  EXPECT_EQ(r.d.poolIncludeGroups, std::vector<std::string>{"Music Group"});
  EXPECT_EQ(r.d.poolStackGroups, std::vector<std::string>{"Level1"});
  EXPECT_EQ(r.d.sampleStackGroups, std::vector<std::string>{"Base"});
  EXPECT_EQ(r.d.sampleIncludeGroups, std::vector<std::string>{"Effects"});
  EXPECT_EQ(r.d.outputBasePath, std::filesystem::path("out") / "music");
  EXPECT_EQ(r.d.includeFilePath, std::filesystem::path("out") / "snd.h");
  EXPECT_EQ(r.d.outputFile(".proj"), std::filesystem::path("out") / "music.proj");
  EXPECT_EQ(r.out, "Group <Music Group> to be included into the project.\n"
                   "Group <Effects> to be included into the project.\n"
                   "Group <Music Group>'s references to be included into pool data.\n"
                   "Group <Level1>'s pool references are assumed to be on the group stack.\n"
                   "Group <Base>'s sample references are assumed to be on the group stack.\n"
                   "Group <Effects>'s references to be included into sample data.\n"
                   "Output basename: <first>\n"
                   "Output basename: <music>\n"
                   "Language include: <snd.h>\n"
                   "Output directory: <out>\n");
}

TEST(ProjectDescription, StackPrefixCountsOnlyInPoolAndSamplesAndOnlyInCapitals) {
  const Read r = read("[Project]\nSTACK=Level1\n[Pool]\nstack=Level2\n");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.d.projectGroups, std::vector<std::string>{"STACK=Level1"});
  EXPECT_EQ(r.d.poolIncludeGroups, std::vector<std::string>{"stack=Level2"});
  EXPECT_TRUE(r.d.poolStackGroups.empty());
}

TEST(ProjectDescription, FailuresNameTheLineAndBuildNoPaths) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"[Project]\n[pool]\nA\n", "*** Unknown section marker found in description file.\n*** In <desc.txt>, line 2.\n"},
      {"[Project] x\n", "*** Unknown section marker found in description file.\n*** In <desc.txt>, line 1.\n"},
      {"; header\nGroup\n[Project]\n", "*** Data outside section.\n*** In <desc.txt>, line 2.\n"},
  };
  for (const auto& c : cases) {
    const Read r = read(c.text);
    EXPECT_FALSE(r.ok) << c.text;
    EXPECT_EQ(r.out, c.message);
    EXPECT_TRUE(r.d.outputBasePath.empty());
  }
}

TEST(ProjectDescription, ExtensionsReplaceOnlyTheBaseNamesOwn) {
  const Read r = read("[Name]\nsong.v2\n[OutputDirectory]\nout.d\n");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.d.outputFile(".pool"), std::filesystem::path("out.d") / "song.pool");
  const Read plain = read("[OutputDirectory]\nout.d\n");
  EXPECT_EQ(plain.d.outputFile(".pool"), std::filesystem::path("out.d") / "default.pool");
}
