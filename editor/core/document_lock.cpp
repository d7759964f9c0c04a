#include "document_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>
#include <utility>

#include "common/paths.h"

namespace vtq {
namespace {

// The document's final target: symbolic links followed as the kernel does.
std::filesystem::path finalTarget(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::path target = std::filesystem::weakly_canonical(path, ec);
  return ec ? path : target;
}

int openLockFile(const std::filesystem::path& document, std::filesystem::path& lockPath, std::string& error) {
  const std::filesystem::path target = finalTarget(document);
  std::filesystem::path folder = target.parent_path();
  lockPath = folder / ("." + target.filename().string() + ".lock");
  int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
  if (fd >= 0) return fd;
  // A folder that cannot be written: the lock is taken on the document itself.
  lockPath = target;
  fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd >= 0) return fd;
  error = "cannot lock " + common::displayPath(document) + ": " + std::strerror(errno);
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

std::optional<DocumentLock> DocumentLock::acquire(const std::filesystem::path& path,
                                                  std::chrono::milliseconds timeout, std::string& error) {
  std::filesystem::path lockPath;
  const int fd = openLockFile(path, lockPath, error);
  if (fd < 0) return std::nullopt;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  auto pause = std::chrono::milliseconds(2);
  for (;;) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return DocumentLock(fd, lockPath);
    if (errno != EWOULDBLOCK && errno != EINTR) {
      error = "cannot lock " + common::displayPath(path) + ": " + std::strerror(errno);
      ::close(fd);
      return std::nullopt;
    }
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(50));
  }
  ::close(fd);
  error = "cannot lock " + common::displayPath(path) + ": another program is changing it";
  return std::nullopt;
}

std::optional<DocumentLock> DocumentLock::tryAcquire(const std::filesystem::path& path, std::string& error) {
  return acquire(path, std::chrono::milliseconds(0), error);
}

}  // namespace vtq
