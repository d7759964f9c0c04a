#include "write_target.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "descriptor_path.h"
#include "paths.h"

namespace common {
namespace {

namespace fs = std::filesystem;

// The kernel gives up after 40 links in one lookup; so do we.
constexpr int kMaxLinks = 40;

std::string failure(const fs::path& named, const std::string& why) {
  return "cannot write " + displayPath(named) + ": " + why;
}

// Follows the chain of links that starts at `path` by their text, each one
// relative to the folder that holds it. Stops at the first name that is not a
// link or does not exist (a dangling link's file is created there), and at a
// name of one of this process's descriptors.
bool followLinks(fs::path& path, std::string& why) {
  for (int hops = 0;; ++hops) {
    if (descriptorNamedBy(path)) return true;
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
      if (errno == ENOENT) return true;
      why = std::strerror(errno);
      return false;
    }
    if (!S_ISLNK(info.st_mode)) return true;
    if (hops == kMaxLinks) {
      why = std::strerror(ELOOP);
      return false;
    }
    std::string text(size_t(info.st_size > 0 ? info.st_size : 256) + 1, '\0');
    const ssize_t n = ::readlink(path.c_str(), text.data(), text.size());
    if (n < 0) {
      why = std::strerror(errno);
      return false;
    }
    text.resize(size_t(n));
    const fs::path next(text);
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
}

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// A link whose text does not lead where the kernel goes (/proc/self/fd/1 says
// "pipe:[123]") is written through the name as given.
bool followedTextMisleads(const fs::path& named, const fs::path& followed, const struct stat& viaKernel) {
  struct stat viaText {};
  return named != followed && (::stat(followed.c_str(), &viaText) != 0 || !sameFile(viaText, viaKernel));
}

bool mayWrite(const fs::path& path) { return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0; }

bool folderWritable(const fs::path& file) {
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

bool ownerCanBeKept(const struct stat& info) {
  const uid_t self = ::geteuid();
  return self == 0 || self == info.st_uid;
}

// Sorts an existing file into its mode, or refuses it.
bool classify(const fs::path& named, WriteTarget& target, std::string& error) {
  const struct stat& info = target.info;
  if (S_ISDIR(info.st_mode)) {
    error = failure(named, "it is a folder");
    return false;
  }
  if (S_ISSOCK(info.st_mode)) {
    error = failure(named, "it is a socket");
    return false;
  }
  if (!mayWrite(target.path)) {
    error = failure(named, std::strerror(errno));
    return false;
  }
  target.folderWritable = folderWritable(target.path);
  if (!S_ISREG(info.st_mode)) {
    target.mode = WriteMode::Direct;
  } else if (info.st_nlink > 1 || !ownerCanBeKept(info) || !target.folderWritable) {
    target.mode = WriteMode::ThroughInode;
  } else {
    target.mode = WriteMode::Replace;
  }
  return true;
}

// Output through a descriptor this process has open.
bool useDescriptor(const fs::path& named, int fd, WriteTarget& target, std::string& error) {
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || (flags & O_ACCMODE) == O_RDONLY || ::fstat(fd, &target.info) != 0) {
    error = failure(named, flags < 0 ? std::strerror(errno) : "it is not open for writing");
    return false;
  }
  if (S_ISDIR(target.info.st_mode)) {
    error = failure(named, "it is a folder");
    return false;
  }
  target.mode = WriteMode::Descriptor;
  target.descriptor = fd;
  return true;
}

}  // namespace

bool resolveWriteTarget(const fs::path& named, LinkRule rule, WriteTarget& target, std::string& error) {
  target = WriteTarget{};
  target.path = named;
  std::string why;
  if (rule == LinkRule::Follow && !followLinks(target.path, why)) {
    error = failure(named, why);
    return false;
  }
  if (const std::optional<int> fd = descriptorNamedBy(target.path)) return useDescriptor(named, *fd, target, error);
  const int found =
      rule == LinkRule::Follow ? ::stat(named.c_str(), &target.info) : ::lstat(named.c_str(), &target.info);
  if (found != 0 && errno != ENOENT) {
    error = failure(named, std::strerror(errno));
    return false;
  }
  if (found != 0 || S_ISLNK(target.info.st_mode)) {
    // Nothing there yet, or a link that is to be replaced by the new file.
    target.mode = WriteMode::Create;
    target.folderWritable = folderWritable(target.path);
    return true;
  }
  const bool magic = rule == LinkRule::Follow && followedTextMisleads(named, target.path, target.info);
  if (magic) target.path = named;
  if (!classify(named, target, error)) return false;
  // Such a link is never renamed over: what it leads to gets the bytes.
  if (magic) target.mode = WriteMode::Direct;
  return true;
}

}  // namespace common
