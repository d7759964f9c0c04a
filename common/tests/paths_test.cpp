#include "common/paths.h"

#include <gtest/gtest.h>

#include "common/testing/cli_run.h"

TEST(Paths, AcceptsBothSeparatorsAndJoinsWithTheNativeOne) {
  EXPECT_EQ(common::pathFromName("a\\b/c.txt"), std::filesystem::path("a") / "b" / "c.txt");
  EXPECT_EQ(common::joinPath("", "x\\y"), std::filesystem::path("x") / "y");
  EXPECT_EQ(common::joinPath("out\\dir", "f.bin"), std::filesystem::path("out") / "dir" / "f.bin");
  EXPECT_TRUE(common::equalsIgnoringCase(".WAV", ".wav"));
  EXPECT_FALSE(common::equalsIgnoringCase(".wav", ".wa"));
}

TEST(Paths, FindsComponentsWithoutRegardToCase) {
  testing_support::TempDir dir;
  dir.write("Sounds/Drums/Kick.WAV", std::string("x"));
  EXPECT_EQ(common::findPathIgnoringCase(dir / "sounds/DRUMS/kick.wav"), dir / "Sounds/Drums/Kick.WAV");
  EXPECT_EQ(common::findPathIgnoringCase(dir / "Sounds/Drums/Kick.WAV"), dir / "Sounds/Drums/Kick.WAV");
  EXPECT_EQ(common::findPathIgnoringCase(dir / "sounds/none.wav"), dir / "sounds/none.wav");
}
