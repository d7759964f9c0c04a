// Runs the built macrolift in a temporary project tree and checks what it
// printed, the report it wrote, its exit code and every file it left.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "common/testing/cli_run.h"
#include "macrolift/gba_command_definitions.h"

namespace {

using testing_support::CliResult;
using testing_support::runProgram;
using testing_support::TempDir;

using Bytes = std::vector<uint8_t>;

const std::string kBanner = "MacroLift Vocta Macro Converter v1.0\n"
                            "Moves Game Boy sound macros to the Game Boy Advance command set.\n"
                            "Part of the KESH interactive audio toolset.\n"
                            "\n"
                            "Looking for Vocta Game Boy macros in\n";

const char* kReport = "Macro Conversion Report.txt";

CliResult runMacrolift(const TempDir& dir, const std::vector<std::string>& args = {}) {
  return runProgram(MACROLIFT_EXE, args, dir.path());
}

// The folder as the program sees it (the temporary folder may be reached through a link).
std::string rootOf(const TempDir& dir) { return std::filesystem::canonical(dir.path()).string(); }

std::string statistics(int found, int converted, int problems, int deleted) {
  return "\n\nConversion statistics:\n" + std::to_string(found) + " macros found\n" + std::to_string(converted) +
         " macros converted\n" + std::to_string(problems) + " macros with potential problems\n" +
         std::to_string(deleted) + " macros deleted (stripped down to ENDMACRO)\n\nDone.\n";
}

Bytes cat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

const Bytes kEnd(8, 0);

}  // namespace

TEST(MacroliftCli, ConvertsAWholeProjectTree) {
  TempDir dir;
  dir.write("macrodef.vqd", std::string("[$07]\nName = WAIT\n"));
  dir.write("project.vqp", std::string("[Project]\nName=Demo\nMacrodefinitionfile=C:\\Vocta\\GB\\macrodef.VqD\n"
                                       "Samples=samples\n"));
  dir.write("notes.txt", std::string("left alone"));
  dir.write("sounds/wait.vqm", cat({{7, 1, 0, 1, 0, 0, 0xE8, 0x03}, kEnd}));
  dir.write("sounds/bad.vqm", cat({{7, 1, 0, 1, 0, 0, 0xE8, 0x03}, {9, 1, 0, 0, 0, 0, 0, 0}, kEnd}));
  dir.write("sounds/deep/Duty.VQM", cat({{20, 2, 0, 0, 0, 0, 0, 0}, {5, 0, 0, 0, 0, 0, 3, 0}, kEnd, {1, 2, 3}}));
  dir.write("sounds/deep/keep.vqmx", Bytes{9, 9, 9, 9, 9, 9, 9, 9});
  dir.write("split.vqm", cat({{6, 0, 2, 0, 1, 0, 0, 0}, {38, 5, 0, 1, 2, 3, 4, 5}, kEnd}));

  const CliResult r = runMacrolift(dir, {"ignored", "arguments"});
  const std::string root = rootOf(dir);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, kBanner + "  \"" + root + "\"...\n" + "Scanning subdirectory \"" + root +
                       "/sounds\"...\n"
                       "Found \"bad.vqm\", converting...\n"
                       "Scanning subdirectory \"" +
                       root +
                       "/sounds/deep\"...\n"
                       "Found \"Duty.VQM\", converting...\n"
                       "Found \"wait.vqm\", converting...\n"
                       "Found \"split.vqm\", converting...\n");
  EXPECT_EQ(dir.readText(kReport), "Scanning subdirectory \"" + root +
                                       "/sounds\"...\n"
                                       "Cannot convert macro \"bad.vqm\", deleting...\n"
                                       "Scanning subdirectory \"" +
                                       root +
                                       "/sounds/deep\"...\n"
                                       "Macro \"Duty.VQM\" converted ok.\n"
                                       "Macro \"wait.vqm\" converted ok.\n"
                                       "Macro \"split.vqm\" possibly ok:\n"
                                       "\tWARNING: Macro split and goto steps may be incorrect!\n" +
                                       statistics(4, 2, 1, 1));
  EXPECT_EQ(dir.files(), (std::vector<std::string>{"GBAdvance_macrodef.vqd", kReport, "notes.txt", "project.vqp",
                                                   "sounds/bad.vqm", "sounds/deep/Duty.VQM", "sounds/deep/keep.vqmx",
                                                   "sounds/wait.vqm", "split.vqm"}));
  EXPECT_EQ(dir.readText("GBAdvance_macrodef.vqd"), std::string(macrolift::kGbaCommandDefinitions));
  EXPECT_EQ(dir.readText("project.vqp"),
            "[Project]\nName=Demo\nMacrodefinitionfile=GBAdvance_macrodef.vqd\nSamples=samples\n");
  EXPECT_EQ(dir.readText("notes.txt"), "left alone");
  EXPECT_EQ(dir.readBytes("sounds/wait.vqm"), cat({{0x02, 1, 0, 0, 0, 0, 0xE8, 0x03}, kEnd}));
  EXPECT_EQ(dir.readBytes("sounds/bad.vqm"), kEnd);
  // SETDUTY and VOICE_ON, then the loop to step 0 moved to step 1; the 3 stray bytes are dropped.
  EXPECT_EQ(dir.readBytes("sounds/deep/Duty.VQM"),
            cat({{0x17, 2, 0, 0, 0, 0, 0, 0}, {0x10, 1, 0, 0, 0, 0, 0, 0}, {0x03, 0, 0, 0, 1, 0, 3, 0}, kEnd}));
  EXPECT_EQ(dir.readBytes("sounds/deep/keep.vqmx"), Bytes(8, 9));
  EXPECT_EQ(dir.readBytes("split.vqm"),
            cat({{0x04, 0, 2, 0, 1, 0, 0, 0}, {0x12, 5, 0, 0, 0, 0, 0, 0}, {0x10, 1, 0, 0, 0, 0, 0, 0}, kEnd}));
}

TEST(MacroliftCli, ATreeWithoutMacrosReportsNone) {
  TempDir dir;
  dir.write("docs/readme.txt", std::string("x"));
  dir.write("Project.VQP", std::string("Name=NoDefs\nMacros=m.vqm\n"));
  const CliResult r = runMacrolift(dir);
  const std::string root = rootOf(dir);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, kBanner + "  \"" + root + "\"...\nScanning subdirectory \"" + root + "/docs\"...\n");
  EXPECT_EQ(dir.readText(kReport), "Scanning subdirectory \"" + root + "/docs\"...\n" + statistics(0, 0, 0, 0));
  EXPECT_EQ(dir.readText("Project.VQP"), "Name=NoDefs\nMacros=m.vqm\n");
  EXPECT_EQ(dir.files(), (std::vector<std::string>{kReport, "Project.VQP", "docs/readme.txt"}));
}

TEST(MacroliftCli, AMacroThatCannotBeOpenedStopsTheScan) {
  TempDir dir;
  dir.write("a.vqm", cat({{7, 0, 0, 1, 0, 0, 0, 0}, kEnd}));
  ASSERT_EQ(::mkfifo((dir / "b.vqm").c_str(), 0644), 0);  // not a file that can hold a macro
  dir.write("c.vqm", cat({{7, 0, 0, 1, 0, 0, 0, 0}, kEnd}));
  const CliResult r = runMacrolift(dir);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, kBanner + "  \"" + rootOf(dir) +
                       "\"...\nFound \"a.vqm\", converting...\nFound \"b.vqm\", converting...\n"
                       "Press any key to exit.\n");
  EXPECT_EQ(dir.readText(kReport), "Macro \"a.vqm\" converted ok.\n*** Failed to open macro \"b.vqm\"!\n");
  EXPECT_EQ(dir.readBytes("a.vqm"), cat({{2, 0, 0, 0, 0, 0, 0, 0}, kEnd}));  // done before the failure
  EXPECT_EQ(dir.readBytes("c.vqm"), cat({{7, 0, 0, 1, 0, 0, 0, 0}, kEnd}));  // never reached
}

TEST(MacroliftCli, AWriteProtectedMacroIsNotOverwritten) {
  TempDir dir;
  const Bytes original = cat({{7, 0, 0, 1, 0, 0, 0, 0}, kEnd});
  dir.write("sub/ro.vqm", original);
  ::chmod((dir / "sub/ro.vqm").c_str(), 0444);
  const CliResult r = runMacrolift(dir);
  const std::string root = rootOf(dir);
  const std::string error = "*** ERROR: Cannot overwrite file \"" + root + "/sub/ro.vqm\"!\n";
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, kBanner + "  \"" + root + "\"...\nScanning subdirectory \"" + root +
                       "/sub\"...\nFound \"ro.vqm\", converting...\n" + error + "Press any key to exit.\n");
  EXPECT_EQ(dir.readText(kReport),
            "Scanning subdirectory \"" + root + "/sub\"...\nMacro \"ro.vqm\" converted ok.\n" + error);
  EXPECT_EQ(dir.readBytes("sub/ro.vqm"), original);
  EXPECT_EQ(dir.files(), (std::vector<std::string>{kReport, "sub/ro.vqm"}));
}

TEST(MacroliftCli, AFailedDefinitionFileKeepsTheOldOne) {
  TempDir dir;
  std::filesystem::create_directory(dir / "GBAdvance_macrodef.vqd");  // the name is taken by a folder
  dir.write("old.vqd", std::string("old definitions"));
  const CliResult r = runMacrolift(dir);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.out.find("*** ERROR: Could not write new macro definition file!\nPress any key to exit.\n"),
            std::string::npos);
  EXPECT_EQ(dir.readText("old.vqd"), "old definitions");
  EXPECT_EQ(dir.readText(kReport).find("Conversion statistics"), std::string::npos);
}

TEST(MacroliftCli, AProjectFileThatCannotBeUpdatedStopsTheScan) {
  TempDir dir;
  dir.write("p.vqp", std::string("Defs=C:\\x\\old.vqd\n"));
  ::chmod((dir / "p.vqp").c_str(), 0444);
  dir.write("z.vqm", kEnd);
  const CliResult r = runMacrolift(dir);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.out.find("*** ERROR: Cannot update the project file!\nPress any key to exit.\n"), std::string::npos);
  EXPECT_EQ(r.out.find("Found"), std::string::npos);
  EXPECT_EQ(dir.readText("p.vqp"), "Defs=C:\\x\\old.vqd\n");

  TempDir pipeDir;  // a pipe named like a project file is never opened
  ASSERT_EQ(::mkfifo((pipeDir / "p.vqp").c_str(), 0644), 0);
  const CliResult p = runMacrolift(pipeDir);
  EXPECT_EQ(p.exitCode, 1);
  EXPECT_NE(p.out.find("*** ERROR: Cannot update the project file!\nPress any key to exit.\n"), std::string::npos);
}

TEST(MacroliftCli, AReportThatCannotBeCreatedEndsTheRunAtOnce) {
  TempDir dir;
  std::filesystem::create_directory(dir / kReport);
  dir.write("m.vqm", cat({{7, 0, 0, 1, 0, 0, 0, 0}, kEnd}));
  const CliResult r = runMacrolift(dir);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, kBanner + "  \"" + rootOf(dir) +
                       "\"...\n*** ERROR: Unable to create the report file!\nPress any key to exit.\n");
  EXPECT_EQ(dir.readBytes("m.vqm"), cat({{7, 0, 0, 1, 0, 0, 0, 0}, kEnd}));
}

TEST(MacroliftCli, LinksAreNotFollowed) {
  TempDir dir;
  dir.write("sub/m.vqm", cat({{7, 0, 0, 1, 0, 0, 0, 0}, kEnd}));
  std::filesystem::create_directory_symlink(dir.path(), dir / "sub/loop");
  std::filesystem::create_symlink(dir / "sub/m.vqm", dir / "link.vqm");
  const CliResult r = runMacrolift(dir);
  const std::string root = rootOf(dir);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(dir.readText(kReport), "*** WARNING: Skipping symbolic link \"" + root +
                                       "/link.vqm\"!\n"
                                       "Scanning subdirectory \"" +
                                       root +
                                       "/sub\"...\n"
                                       "*** WARNING: Skipping symbolic link \"" +
                                       root +
                                       "/sub/loop\"!\n"
                                       "Macro \"m.vqm\" converted ok.\n" +
                                       statistics(1, 1, 0, 0));
  EXPECT_EQ(dir.readBytes("sub/m.vqm"), cat({{2, 0, 0, 0, 0, 0, 0, 0}, kEnd}));  // converted once
}

TEST(MacroliftCli, FoldersAreScannedWhateverTheirName) {
  TempDir dir;
  dir.write("Backup.VQM/inner.vqm", cat({{13, 100, 0, 0, 0, 0, 0, 0}, kEnd}));
  dir.write("defs.vqd/keep.txt", std::string("x"));
  const CliResult r = runMacrolift(dir);
  const std::string root = rootOf(dir);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(dir.readText(kReport), "Scanning subdirectory \"" + root +
                                       "/Backup.VQM\"...\n"
                                       "Macro \"inner.vqm\" converted ok.\n"
                                       "Scanning subdirectory \"" +
                                       root + "/defs.vqd\"...\n" + statistics(1, 1, 0, 0));
  EXPECT_EQ(dir.readBytes("Backup.VQM/inner.vqm"), cat({{0x21, 100, 0, 0, 0, 0, 0, 0}, kEnd}));
  EXPECT_EQ(dir.files(), (std::vector<std::string>{"Backup.VQM/inner.vqm", kReport, "defs.vqd/keep.txt"}));
}

TEST(MacroliftCli, AWriteProtectedDefinitionFileIsKept) {
  TempDir dir;
  dir.write("gb.vqd", std::string("old definitions"));
  ::chmod((dir / "gb.vqd").c_str(), 0444);
  const CliResult r = runMacrolift(dir);
  const std::string warning = "*** WARNING: Cannot delete file \"" + rootOf(dir) + "/gb.vqd\"!\n";
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, kBanner + "  \"" + rootOf(dir) + "\"...\n" + warning);
  EXPECT_EQ(dir.readText(kReport), warning + statistics(0, 0, 0, 0));
  EXPECT_EQ(dir.readText("gb.vqd"), "old definitions");
  EXPECT_EQ(dir.readText("GBAdvance_macrodef.vqd"), std::string(macrolift::kGbaCommandDefinitions));
}

// A converted macro keeps its owner, group, mode and extended attributes,
// whether they match what a new file gets or not.
TEST(MacroliftCli, AConvertedMacroKeepsOwnerModeAndAttributes) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give files other owners";
  struct Case {
    const char* name;
    uid_t uid;
    gid_t gid;
    mode_t mode;
  };
  const Case cases[] = {{"own.vqm", 0, 0, 0600},
                        {"shared.vqm", 0, 0, 0644},
                        {"other.vqm", 65534, 0, 0640},
                        {"group.vqm", 0, 65534, 02750}};
  TempDir dir;
  for (const Case& c : cases) {
    dir.write(c.name, cat({{7, 1, 0, 1, 0, 0, 0xE8, 0x03}, kEnd}));
    const std::string path = (dir / c.name).string();
    ASSERT_EQ(::chown(path.c_str(), c.uid, c.gid), 0);
    ASSERT_EQ(::chmod(path.c_str(), c.mode), 0);
    if (::setxattr(path.c_str(), "user.note", "kept", 4, 0) != 0) GTEST_SKIP() << "no user attributes here";
  }
  EXPECT_EQ(runMacrolift(dir).exitCode, 0);
  for (const Case& c : cases) {
    const std::string path = (dir / c.name).string();
    struct stat info {};
    ASSERT_EQ(::lstat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_size, 16) << c.name;  // converted: the wait and its end
    EXPECT_EQ(info.st_uid, c.uid) << c.name;
    EXPECT_EQ(info.st_gid, c.gid) << c.name;
    EXPECT_EQ(info.st_mode & 07777, c.mode) << c.name;
    char note[8] = {};
    EXPECT_EQ(::getxattr(path.c_str(), "user.note", note, sizeof note), 4) << c.name;
  }
}
