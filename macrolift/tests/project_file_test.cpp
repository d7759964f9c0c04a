// The definition-file line of a project file: key=path ending in ".vqd".
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "common/testing/cli_run.h"
#include "macrolift/project_file.h"

namespace {

using macrolift::ProjectFileUpdater;
using testing_support::TempDir;

}  // namespace

TEST(MacroliftProjectFile, ReplacesThePathOfDefinitionLines) {
  struct Case {
    const char* line;
    const char* expected;  // nullptr: the line is left alone
  };
  const Case cases[] = {
      {"key=C:\\old\\defs.VqD", "key=GBAdvance_macrodef.vqd"},
      {"Macrodefinitions=macrodef.vqd", "Macrodefinitions=GBAdvance_macrodef.vqd"},
      {"Defs=C:/Sound Projects/GB/defs.VQD", "Defs=GBAdvance_macrodef.vqd"},
      {"a=b=c.vqd", "a=b=GBAdvance_macrodef.vqd"},      // the last '=' that leaves a path
      {"x.vqd=x.vqd", "x.vqd=GBAdvance_macrodef.vqd"},  // the key keeps its text
      {"k=GBAdvance_macrodef.vqd", "k=GBAdvance_macrodef.vqd"},
      {"=defs.vqd", nullptr},  // no key
      {"key=.vqd", nullptr},   // no name before the extension
      {"key=defs.vqdx", nullptr},
      {"key=defs.vqd ", nullptr},  // the extension must end the line
      {"key=defs.vqm", nullptr},
      {"key=defs_vqd", nullptr},
      {"just text.vqd", nullptr},
      {"", nullptr},
  };
  ProjectFileUpdater updater;
  ASSERT_TRUE(updater.ready());
  for (const Case& c : cases) {
    const auto updated = updater.updateLine(c.line);
    if (c.expected == nullptr) {
      EXPECT_FALSE(updated.has_value()) << c.line;
    } else {
      ASSERT_TRUE(updated.has_value()) << c.line;
      EXPECT_EQ(*updated, c.expected);
    }
  }
}

TEST(MacroliftProjectFile, KeepsOtherLinesAndLineEndsByteForByte) {
  ProjectFileUpdater updater;
  bool changed = false;
  const std::string text = "[Project]\r\nName=Demo\r\nMacrodefs=C:\\gb\\macrodef.vqd\r\n\r\n; comment\nSamples=smp\\\n"
                           "Other=other.VQD";
  EXPECT_EQ(updater.updateText(text, changed),
            "[Project]\r\nName=Demo\r\nMacrodefs=GBAdvance_macrodef.vqd\r\n\r\n; comment\nSamples=smp\\\n"
            "Other=GBAdvance_macrodef.vqd\n");
  EXPECT_TRUE(changed);

  const std::string untouched = "Name=x\nMacros=m.vqm\n\n";
  EXPECT_EQ(updater.updateText(untouched, changed), untouched);
  EXPECT_FALSE(changed);
  EXPECT_EQ(updater.updateText("", changed), "");
  EXPECT_FALSE(changed);
}

TEST(MacroliftProjectFile, LongLinesAreMatchedWhole) {
  ProjectFileUpdater updater;
  const std::string path(5000, 'p');
  const auto updated = updater.updateLine("key=" + path + ".vqd");
  ASSERT_TRUE(updated.has_value());
  EXPECT_EQ(*updated, "key=GBAdvance_macrodef.vqd");
  // A long line of '=' ending in ".vqd" is matched in linear time.
  EXPECT_TRUE(updater.updateLine(std::string(200000, '=') + "a.vqd").has_value());
  EXPECT_FALSE(updater.updateLine(std::string(200000, 'a') + ".vqd").has_value());
}

TEST(MacroliftProjectFile, RewritesTheFileOnlyWhenALineChanged) {
  TempDir dir;
  dir.write("p.vqp", std::string("Name=a\nDefs=old.vqd\n"));
  dir.write("q.vqp", std::string("Name=b\n"));
  ProjectFileUpdater updater;
  std::string error;
  ASSERT_TRUE(updater.updateProjectFile(dir / "p.vqp", error)) << error;
  ASSERT_TRUE(updater.updateProjectFile(dir / "q.vqp", error)) << error;
  EXPECT_EQ(dir.readText("p.vqp"), "Name=a\nDefs=GBAdvance_macrodef.vqd\n");
  EXPECT_EQ(dir.readText("q.vqp"), "Name=b\n");
  EXPECT_EQ(dir.files(), (std::vector<std::string>{"p.vqp", "q.vqp"}));  // no temporary file left
}

TEST(MacroliftProjectFile, FailuresLeaveTheFileAsItWas) {
  TempDir dir;
  dir.write("ro.vqp", std::string("Defs=old.vqd\n"));
  ::chmod((dir / "ro.vqp").c_str(), 0444);
  ProjectFileUpdater updater;
  std::string error;
  EXPECT_FALSE(updater.updateProjectFile(dir / "ro.vqp", error));
  EXPECT_NE(error.find("ro.vqp"), std::string::npos);
  EXPECT_EQ(dir.readText("ro.vqp"), "Defs=old.vqd\n");
  EXPECT_FALSE(updater.updateProjectFile(dir / "missing.vqp", error));
  EXPECT_NE(error.find("missing.vqp"), std::string::npos);
  EXPECT_EQ(dir.files(), std::vector<std::string>{"ro.vqp"});
}
