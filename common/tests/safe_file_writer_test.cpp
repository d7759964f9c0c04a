#include "common/safe_file_writer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "common/testing/cli_run.h"

using testing_support::TempDir;
namespace fs = std::filesystem;

namespace {

std::string replaceWithNew(const fs::path& target) {
  std::string error;
  return common::replaceFile("test", target, std::string_view("new"), error) ? "" : error;
}

// As root every file is writable; the write then runs as "nobody".
std::string replaceWithNewUnprivileged(const fs::path& target) {
  if (::geteuid() != 0) return replaceWithNew(target);
  const pid_t child = ::fork();
  if (child == 0) _exit(::setgid(65534) == 0 && ::setuid(65534) == 0 && !replaceWithNew(target).empty() ? 0 : 1);
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? "refused" : "";
}

mode_t modeOf(const fs::path& p) {
  struct stat info {};
  ::lstat(p.c_str(), &info);
  return info.st_mode;
}

}  // namespace

TEST(SafeFileWriter, WritesWhatWritingInPlaceWouldWrite) {
  struct Case {
    const char* name;
    std::function<void(const TempDir&)> setUp;
    const char* written;  // the name given to the writer
    bool succeeds;
    const char* holder;  // the file that then holds "new", or the old bytes on failure
    std::function<void(const TempDir&)> check;
  };
  const auto link = [](const char* to, const char* at) {
    return [=](const TempDir& d) {
      d.write("real/doc.bin", std::string("old"));
      fs::create_directories((d / at).parent_path());
      fs::create_symlink(to, d / at);
    };
  };
  const auto staysLink = [](const char* at) { return [=](const TempDir& d) { EXPECT_TRUE(S_ISLNK(modeOf(d / at))); }; };
  const auto old = [](const TempDir& d) { d.write("doc.bin", std::string("old")); };
  const std::vector<Case> cases = {
      {"link", [&](const TempDir& d) { link((d / "real/doc.bin").c_str(), "link.bin")(d); }, "link.bin", true,
       "real/doc.bin", staysLink("link.bin")},
      {"relative link", link("../real/doc.bin", "sub/link.bin"), "sub/link.bin", true, "real/doc.bin",
       staysLink("sub/link.bin")},
      {"dangling link", link("real/new.bin", "link.bin"), "link.bin", true, "real/new.bin", staysLink("link.bin")},
      {"link loop",
       [](const TempDir& d) {
         fs::create_symlink("b", d / "a");
         fs::create_symlink("a", d / "b");
       },
       "a", false, "", staysLink("a")},
      {"mode 0600",
       [&](const TempDir& d) {
         old(d);
         fs::permissions(d / "doc.bin", fs::perms(0600));
       },
       "doc.bin", true, "doc.bin", [](const TempDir& d) { EXPECT_EQ(modeOf(d / "doc.bin") & 07777, 0600u); }},
      {"hard link",
       [&](const TempDir& d) {
         old(d);
         fs::create_hard_link(d / "doc.bin", d / "other.bin");
       },
       "doc.bin", true, "other.bin",
       [](const TempDir& d) { EXPECT_TRUE(fs::equivalent(d / "doc.bin", d / "other.bin")); }},
      {"folder", [](const TempDir& d) { fs::create_directory(d / "doc.bin"); }, "doc.bin", false, "",
       [](const TempDir& d) { EXPECT_TRUE(fs::is_directory(d / "doc.bin")); }},
      {"read-only file",
       [&](const TempDir& d) {
         old(d);
         fs::permissions(d / "doc.bin", fs::perms(0444));
       },
       "doc.bin", false, "doc.bin", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const bool readOnly = std::string(c.name) == "read-only file";
    // A folder anyone may write: only the file's own permission refuses.
    fs::permissions(dir.path(), fs::perms(readOnly ? 0777 : 0755));
    c.setUp(dir);
    const std::string error = readOnly ? replaceWithNewUnprivileged(dir / c.written) : replaceWithNew(dir / c.written);
    EXPECT_EQ(error.empty(), c.succeeds) << error;
    if (!c.succeeds && !readOnly) {
      EXPECT_NE(error.find(c.written), std::string::npos) << error;
    }
    if (*c.holder) {
      EXPECT_EQ(dir.readText(c.holder), c.succeeds ? "new" : "old");
    }
    if (c.check) c.check(dir);
    // No temporary file is left behind.
    for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
      EXPECT_EQ(entry.path().filename().string().find(".test-"), std::string::npos) << entry.path();
  }
}

TEST(SafeFileWriter, WritesPipesDirectlyAlsoThroughDescriptorLinks) {
  TempDir dir;
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
  const int fifo = ::open((dir / "fifo").c_str(), O_RDONLY | O_NONBLOCK);
  int pipeEnds[2];
  ASSERT_EQ(::pipe(pipeEnds), 0);
  for (const auto& [target, readEnd] :
       {std::pair{dir / "fifo", fifo}, std::pair{fs::path("/dev/fd/" + std::to_string(pipeEnds[1])), pipeEnds[0]}}) {
    EXPECT_EQ(replaceWithNew(target), "");
    char buffer[16] = {};
    EXPECT_EQ(::read(readEnd, buffer, sizeof buffer), 3);
    EXPECT_EQ(std::string(buffer), "new");
  }
  EXPECT_TRUE(S_ISFIFO(modeOf(dir / "fifo")));
  EXPECT_TRUE(S_ISLNK(modeOf("/proc/self/fd/" + std::to_string(pipeEnds[1]))));
  ::close(fifo);
  ::close(pipeEnds[0]);
  ::close(pipeEnds[1]);
}

TEST(SafeWriteBatch, RenamesEveryFileOnlyOnCommit) {
  TempDir dir;
  dir.write("a.bin", std::string("old"));
  common::SafeWriteBatch batch;
  for (const char* name : {"a.bin", "b.bin"}) {
    common::SafeFileWriter writer("test", batch);
    ASSERT_TRUE(writer.open(dir / name) && writer.write(std::string_view("new")) && writer.commit()) << writer.error();
  }
  EXPECT_EQ(dir.readText("a.bin"), "old");
  EXPECT_FALSE(dir.exists("b.bin"));
  ASSERT_TRUE(batch.commit());
  EXPECT_EQ(dir.files(), (std::vector<std::string>{"a.bin", "b.bin"}));
  EXPECT_EQ(dir.readText("a.bin") + dir.readText("b.bin"), "newnew");
}
