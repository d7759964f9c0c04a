// An exclusive lock on a cue document while a program changes it, so that two
// runs (two batch runs, or a batch run and the window) take turns instead of
// losing each other's commands.
//
// A lock on the document's own inode would not survive the rename of a save,
// so the lock is an flock on a lock file beside the document's final target
// (symbolic links resolved): ".NAME.lock", created when missing and left in
// place, so that no unlink race arises. Where that folder cannot be written,
// the document is rewritten through its inode and the lock is an flock on the
// document itself.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

namespace vtq {

class DocumentLock {
 public:
  DocumentLock(DocumentLock&& other) noexcept;
  DocumentLock& operator=(DocumentLock&& other) noexcept;
  DocumentLock(const DocumentLock&) = delete;
  DocumentLock& operator=(const DocumentLock&) = delete;
  ~DocumentLock();  // releases the lock

  // Waits up to `timeout` for the lock of the document at `path` (which need
  // not exist yet). On failure returns nothing and sets `error` to
  // "cannot lock <document>: another program is changing it" after a timeout,
  // or to the system's reason.
  static std::optional<DocumentLock> acquire(const std::filesystem::path& path, std::chrono::milliseconds timeout,
                                             std::string& error);
  // Takes the lock only when it is free at once.
  static std::optional<DocumentLock> tryAcquire(const std::filesystem::path& path, std::string& error);

  // The file the lock is held on (the lock file, or the document itself).
  const std::filesystem::path& lockPath() const { return lockPath_; }

 private:
  DocumentLock(int fd, std::filesystem::path lockPath) : fd_(fd), lockPath_(std::move(lockPath)) {}
  int fd_ = -1;
  std::filesystem::path lockPath_;
};

// The batch mode's wait before it gives up (exit 4).
inline constexpr std::chrono::seconds kDocumentLockTimeout{30};

}  // namespace vtq
