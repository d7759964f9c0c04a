#include "document_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>
#include <utility>

#include "common/paths.h"
#include "common/write_target.h"

namespace vtq {
namespace {

namespace fs = std::filesystem;

std::string lockFailure(const fs::path& document, int err) {
  return "cannot lock " + common::displayPath(document) + ": " + std::strerror(err);
}

// Opens the file the lock is held on. The save resolves links and decides
// how it writes the same way, so every run on one document, whatever name it
// was given, locks the same file.
int openLockFile(const fs::path& document, fs::path& lockPath, std::string& error) {
  common::WriteTarget target;
  std::string unused;
  if (!common::resolveWriteTarget(document, common::LinkRule::Follow, target, unused)) {
    // The save will fail and say why; the lock is still taken beside the name.
    target.path = document;
    target.folderWritable = true;
  }
  if (target.folderWritable) {
    const fs::path folder = target.path.has_parent_path() ? target.path.parent_path() : fs::path(".");
    lockPath = folder / ("." + target.path.filename().string() + ".lock");
    // Read access is enough for flock: a lock file made by another user, and
    // not writable for this one, still serves.
    const int fd = ::open(lockPath.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) return fd;
    if (errno != EACCES && errno != EROFS && errno != EPERM) {
      error = lockFailure(document, errno);
      return -1;
    }
  }
  // A folder that cannot be written: the document is rewritten through its
  // inode, which a lock on the document itself then covers. A pipe is not
  // waited for.
  lockPath = target.path;
  const int fd = ::open(target.path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd >= 0) return fd;
  error = lockFailure(document, errno);
  return -1;
}

}  // namespace

DocumentLock::DocumentLock(DocumentLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), lockPath_(std::move(other.lockPath_)) {}

DocumentLock& DocumentLock::operator=(DocumentLock&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    lockPath_ = std::move(other.lockPath_);
  }
  return *this;
}

DocumentLock::~DocumentLock() {
  if (fd_ >= 0) ::close(fd_);  // closing the descriptor releases the flock
}

std::optional<DocumentLock> DocumentLock::acquire(const fs::path& path, std::chrono::milliseconds timeout,
                                                  std::string& error) {
  fs::path lockPath;
  const int fd = openLockFile(path, lockPath, error);
  if (fd < 0) return std::nullopt;
  // Polled rather than blocking, so that the wait has a deadline without a
  // timer signal; the pause grows so that a long wait costs little.
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  auto pause = std::chrono::milliseconds(1);
  for (;;) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return DocumentLock(fd, lockPath);
    if (errno != EWOULDBLOCK && errno != EINTR) {
      error = lockFailure(path, errno);
      ::close(fd);
      return std::nullopt;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) break;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
    pause = std::min(pause * 2, std::chrono::milliseconds(20));
  }
  ::close(fd);
  error = "cannot lock " + common::displayPath(path) + ": another program is changing it";
  return std::nullopt;
}

std::optional<DocumentLock> DocumentLock::tryAcquire(const fs::path& path, std::string& error) {
  return acquire(path, std::chrono::milliseconds(0), error);
}

}  // namespace vtq
