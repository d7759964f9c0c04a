// What a file keeps when it is replaced, and what faults leave: descriptors,
// a full disk, groups, ACLs and extended attributes, termination signals.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <sys/resource.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <thread>

#include "common/safe_file_writer.h"
#include "common/termination_cleanup.h"
#include "common/testing/cli_run.h"

using testing_support::TempDir;
namespace fs = std::filesystem;

namespace {

constexpr uid_t kNobody = 65534;

std::string replaceWith(const fs::path& target, const std::string& content) {
  std::string error;
  return common::replaceFile("test", target, std::string_view(content), error) ? "" : error;
}

// Runs `body` in a child process and returns its wait status.
int inChild(const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child == 0) _exit(body());
  int status = 0;
  ::waitpid(child, &status, 0);
  return status;
}

// Replaces `target` as "nobody" with no supplementary group; true on success.
bool replaceAsNobody(const fs::path& target, const std::string& content) {
  const int status = inChild([&] {
    const bool dropped = ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
    return dropped && replaceWith(target, content).empty() ? 0 : 1;
  });
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct stat statOf(const fs::path& p) {
  struct stat info {};
  ::stat(p.c_str(), &info);
  return info;
}

std::string attribute(const fs::path& p, const char* name) {
  char value[256];
  const ssize_t n = ::getxattr(p.c_str(), name, value, sizeof value);
  return n < 0 ? "<none>" : std::string(value, size_t(n));
}

std::vector<std::string> leftovers(const fs::path& folder) {
  std::vector<std::string> found;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.find(".test-") != std::string::npos) found.push_back(name);
  }
  return found;
}

// A folder on a disk file system below the working folder (the build tree):
// the system's temporary folder may be a tmpfs, whose extended attributes
// are not those of a disk.
struct DiskDir {
  DiskDir() : path(fs::absolute("safe-write-faults-" + std::to_string(::getpid()))) { fs::create_directories(path); }
  ~DiskDir() { fs::remove_all(path); }
  fs::path path;
};

}  // namespace

TEST(SafeWriteFaults, DescriptorsAreWrittenThroughAsTheyAre) {
  struct Case {
    const char* name;
    int flags;
    off_t position;
    const char* expected;  // from "0123456789" with "new" written
  };
  const std::vector<Case> cases = {
      {"append mode", O_WRONLY | O_APPEND, 0, "0123456789new"},
      {"position", O_WRONLY, 3, "012new6789"},
  };
  for (const Case& c : cases) {
    for (const char* form : {"/dev/fd/", "/proc/self/fd/"}) {
      SCOPED_TRACE(std::string(c.name) + " " + form);
      TempDir dir;
      dir.write("f", std::string("0123456789"));
      const int fd = ::open((dir / "f").c_str(), c.flags);
      ASSERT_EQ(::lseek(fd, c.position, SEEK_SET), c.position);
      EXPECT_EQ(replaceWith(form + std::to_string(fd), "new"), "");
      // The descriptor goes on where the write ended.
      EXPECT_EQ(::lseek(fd, 0, SEEK_CUR), c.position + 3 + (c.flags & O_APPEND ? 10 : 0));
      ::close(fd);
      EXPECT_EQ(dir.readText("f"), c.expected);
      EXPECT_EQ(dir.files(), std::vector<std::string>{"f"});
    }
  }
}

TEST(SafeWriteFaults, AFullDiskLeavesAFileRewrittenInPlaceAsItWas) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting a 2 MB tmpfs needs root";
  TempDir dir;
  if (::mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=2m") != 0)
    GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
  const std::string old(300 * 1024, 'o');
  dir.write("out.raw", old);
  fs::create_hard_link(dir / "out.raw", dir / "link.raw");
  const std::string error = replaceWith(dir / "out.raw", std::string(1536 * 1024, 'n'));
  EXPECT_NE(error.find("No space left on device"), std::string::npos) << error;
  const std::string left = dir.readText("link.raw");
  EXPECT_TRUE(left == old) << "left " << left.size() << " bytes, not the old " << old.size();
  EXPECT_EQ(dir.files(), (std::vector<std::string>{"link.raw", "out.raw"}));
  ::umount(dir.path().c_str());
}

TEST(SafeWriteFaults, GroupAclAndExtendedAttributesAreKept) {
  if (::geteuid() != 0) GTEST_SKIP() << "files of other owners and groups need root to set up";
  DiskDir dir;
  struct statfs fsInfo {};
  ::statfs(dir.path.c_str(), &fsInfo);
  if (fsInfo.f_type == 0x01021994) GTEST_SKIP() << "the build tree is on a tmpfs, not a disk";
  fs::permissions(dir.path, fs::perms(0777));
  struct Case {
    const char* name;
    bool asNobody;
    uid_t owner;
    mode_t mode;
    const char* acl;  // for setfacl -m, or empty
  };
  const std::vector<Case> cases = {
      {"group the user is not in", true, kNobody, 0640, ""},
      {"set-group-ID file of that group", true, kNobody, 02775, ""},
      {"ACL and a note", false, 0, 0640, "u:daemon:rw"},
      {"note the user may not read", true, kNobody, 0200, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path file = dir.path / "doc.bin";
    fs::remove(file);
    { std::ofstream(file) << "old"; }
    ASSERT_EQ(::chown(file.c_str(), c.owner, 0), 0);
    ASSERT_EQ(::chmod(file.c_str(), c.mode), 0);
    ASSERT_EQ(::setxattr(file.c_str(), "user.note", "kept", 4, 0), 0) << std::strerror(errno);
    if (*c.acl && std::system(("setfacl -m " + std::string(c.acl) + " " + file.string()).c_str()) != 0)
      GTEST_SKIP() << "setfacl (package acl) is needed";
    const std::string acl = attribute(file, "system.posix_acl_access");
    const struct stat before = statOf(file);
    EXPECT_TRUE(c.asNobody ? replaceAsNobody(file, "new") : replaceWith(file, "new").empty());
    const struct stat after = statOf(file);
    EXPECT_EQ(testing_support::readFileText(file), "new");
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_EQ(after.st_uid, before.st_uid);
    // Writing a set-group-ID file in place clears that bit, as the kernel does.
    if (!(c.mode & S_ISGID)) {
      EXPECT_EQ(after.st_mode, before.st_mode);
    }
    EXPECT_EQ(attribute(file, "system.posix_acl_access"), acl);
    EXPECT_EQ(attribute(file, "user.note"), "kept");
    EXPECT_EQ(leftovers(dir.path), std::vector<std::string>{});
  }
}

TEST(SafeWriteFaults, TerminationSignalsRemoveTemporaryFilesAndEndTheRun) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGXFSZ}) {
    for (const bool held : {false, true}) {
      SCOPED_TRACE(std::string(strsignal(signal)) + (held ? " held" : ""));
      TempDir dir;
      const int status = inChild([&] {
        const struct rlimit noCore { 0, 0 };
        ::setrlimit(RLIMIT_CORE, &noCore);
        common::SafeFileWriter writer("test");
        if (!writer.open(dir / "out.raw") || !writer.write(std::string_view("new"))) return 3;
        if (leftovers(dir.path()).size() != 1) return 4;
        if (held) {
          // The signal waits for the end of the hold, and no longer.
          common::SignalHold hold;
          ::kill(::getpid(), signal);
          dir.write("after signal", std::string());
        } else {
          ::kill(::getpid(), signal);
        }
        return 5;
      });
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
      EXPECT_EQ(dir.files(), held ? std::vector<std::string>{"after signal"} : std::vector<std::string>{});
      EXPECT_EQ(leftovers(dir.path()), std::vector<std::string>{});
    }
  }
}

TEST(SafeWriteFaults, ASignalAmidThreadsCreatingTemporaryFilesLeavesNone) {
  for (int round = 0; round < 5; ++round) {
    TempDir dir;
    const int status = inChild([&] {
      const auto churn = [&] {
        for (;;) {
          common::TemporaryFile temp;
          int err = 0;
          const int fd = temp.create(dir.path(), "out.raw", "test", 0600, err);
          if (fd >= 0) ::close(fd);
        }
      };
      std::thread a(churn), b(churn);
      ::usleep(20000 + 10000 * round);
      ::kill(::getpid(), SIGTERM);
      a.join();
      return 5;
    });
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    EXPECT_EQ(leftovers(dir.path()), std::vector<std::string>{});
  }
}

TEST(SafeWriteFaults, ASignalEmptiesAndRemovesRegisteredFoldersInnermostFirst) {
  TempDir dir;
  const int status = inChild([&] {
    using Registration = common::TemporaryRegistration;
    fs::create_directories(dir / "outer/inner");
    Registration outer(dir / "outer", Registration::Kind::Folder);
    Registration inner(dir / "outer/inner", Registration::Kind::Folder);
    // More names than one read of the folder returns.
    for (int i = 0; i < 300; ++i) dir.write("outer/inner/song" + std::to_string(i) + ".song", "SONG");
    dir.write("outer/left.song", "SONG");
    dir.write("kept.txt", "kept");
    ::kill(::getpid(), SIGTERM);
    return 5;
  });
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(dir.path())) left.push_back(entry.path().filename().string());
  EXPECT_EQ(left, std::vector<std::string>{"kept.txt"});
}
