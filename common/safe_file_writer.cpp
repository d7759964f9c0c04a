#include "safe_file_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <set>

#include "disk_writes.h"
#include "extended_attributes.h"
#include "paths.h"
#include "space_reservation.h"

namespace common {
namespace {

namespace fs = std::filesystem;

std::string reason(int err) { return err ? std::strerror(err) : "unknown error"; }

fs::path folderOf(const fs::path& file) { return file.has_parent_path() ? file.parent_path() : fs::path("."); }

// Gives the replacement the old file's owner, group, permission bits and
// extended attributes (the ACL among them, set last: changing the mode would
// rewrite its mask). False when any of them cannot be kept: the file is then
// rewritten through its inode instead.
bool keepAttributes(int fd, const fs::path& old, const struct stat& info) {
  const mode_t mode = info.st_mode & 07777;
  struct stat now {};
  if (::fchown(fd, info.st_uid, info.st_gid) != 0 || ::fchmod(fd, mode) != 0) return false;
  // The kernel drops the set-group-ID bit silently for a group the process
  // is not in.
  if (::fstat(fd, &now) != 0 || (now.st_mode & 07777) != mode) return false;
  std::string failed;
  return copyExtendedAttributes(old, fd, failed);
}

// Copies all of `from` (a file) to `to` from the start. Returns its length.
bool copyDescriptor(int from, int to, off_t& length) {
  if (::lseek(from, 0, SEEK_SET) != 0) return false;
  std::vector<uint8_t> buffer(1 << 20);
  length = 0;
  for (;;) {
    const ssize_t n = ::read(from, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    if (!writeAll(to, buffer.data(), size_t(n))) return false;
    length += n;
  }
}

enum class KernelCopy { Done, Unsupported, Failed };

constexpr size_t kWritebackChunk = size_t(8) << 20;

// Copies the rest of `source` into `target` inside the kernel, as cp does.
// Unsupported (nothing copied) when the system or these files do not allow it.
KernelCopy copyInKernel(std::FILE* source, std::FILE* target) {
#ifdef __linux__
  // Both streams' buffers are kept out of the way: the target's is flushed,
  // and the source is addressed by its logical position, not its descriptor's.
  const long start = std::ftell(source);
  if (start < 0 || std::fflush(target) != 0) return KernelCopy::Unsupported;
  loff_t offset = start;
  off_t written = 0;
  for (;;) {
    const ssize_t n = ::copy_file_range(fileno(source), &offset, fileno(target), nullptr, kWritebackChunk, 0);
    if (n == 0) return KernelCopy::Done;
    if (n > 0) {
      // The disk starts on each chunk while the next is copied, so that the
      // sync before the rename has little left to wait for.
      ::sync_file_range(fileno(target), written, n, SYNC_FILE_RANGE_WRITE);
      written += n;
      continue;
    }
    const bool unsupported = errno == ENOSYS || errno == EXDEV || errno == EINVAL || errno == EOPNOTSUPP;
    if (offset == start && unsupported) return KernelCopy::Unsupported;
    return KernelCopy::Failed;
  }
#else
  (void)source;
  (void)target;
  return KernelCopy::Unsupported;
#endif
}

}  // namespace

SafeWriteBatch::~SafeWriteBatch() = default;

bool SafeWriteBatch::commit() {
  std::set<fs::path> folders;
  for (const Pending& p : pending_) folders.insert(folderOf(p.final));
  syncFileSystems(folders);
  for (Pending& p : pending_) {
    if (::rename(p.temp.path().c_str(), p.final.c_str()) == 0) {
      p.temp.renamed();
      continue;
    }
    failures_.push_back({p.target, "cannot replace " + displayPath(p.target) + ": " + reason(errno)});
    p.temp.remove();
  }
  // The renames themselves reach the disk with one more sync.
  syncFileSystems(folders);
  pending_.clear();
  return failures_.empty();
}

SafeFileWriter::~SafeFileWriter() { abandon(); }

bool SafeFileWriter::fail(const std::string& what) {
  error_ = what;
  abandon();
  return false;
}

bool SafeFileWriter::open(const fs::path& target, LinkRule links) {
  abandon();
  target_ = target;
  error_.clear();
  kept_.clear();
  std::string error;
  if (!resolveWriteTarget(target, links, resolved_, error)) return fail(error);
  return createTemporary();
}

bool SafeFileWriter::createTemporary() {
  const WriteMode mode = resolved_.mode;
  const bool beside = mode == WriteMode::Create || mode == WriteMode::Replace ||
                      (mode == WriteMode::ThroughInode && resolved_.folderWritable);
  std::error_code ec;
  const fs::path folder = beside ? folderOf(resolved_.path) : fs::temp_directory_path(ec);
  // A new file gets the permissions the umask allows, as the shell's ">" gives;
  // a replacement gets the old file's at commit().
  const mode_t permissions = mode == WriteMode::Create ? 0666 : 0600;
  int err = 0;
  const int fd = temp_.create(folder, resolved_.path, program_, permissions, err);
  if (fd < 0) return fail("cannot create " + displayPath(target_) + ": " + reason(err));
  file_ = ::fdopen(fd, "w+b");
  if (file_ == nullptr) {
    ::close(fd);
    return fail("cannot create " + displayPath(target_) + ": " + reason(errno));
  }
  std::setvbuf(file_, nullptr, _IOFBF, 1 << 20);
  return true;
}

bool SafeFileWriter::write(std::span<const uint8_t> data) {
  if (file_ == nullptr) return false;
  if (!data.empty() && std::fwrite(data.data(), 1, data.size(), file_) != data.size())
    return fail("cannot write " + displayPath(target_) + ": " + reason(errno));
  return true;
}

bool SafeFileWriter::write(std::string_view text) {
  return write(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

SafeFileWriter::CopyResult SafeFileWriter::copyFrom(std::FILE* source) {
  if (file_ == nullptr) return CopyResult::WriteFailed;
  switch (copyInKernel(source, file_)) {
    case KernelCopy::Done: return CopyResult::Done;
    case KernelCopy::Failed:
      fail("cannot write " + displayPath(target_) + ": " + reason(errno));
      return CopyResult::WriteFailed;
    case KernelCopy::Unsupported: break;
  }
  std::vector<uint8_t> buffer(1 << 20);
  for (;;) {
    const size_t n = std::fread(buffer.data(), 1, buffer.size(), source);
    if (n > 0 && !write(std::span<const uint8_t>(buffer.data(), n))) return CopyResult::WriteFailed;
    if (n < buffer.size()) break;
  }
  if (std::ferror(source)) {
    abandon();
    return CopyResult::ReadFailed;
  }
  return CopyResult::Done;
}

bool SafeFileWriter::commit() {
  if (file_ == nullptr) return false;
  if (std::fflush(file_) != 0) return fail("cannot write " + displayPath(target_) + ": " + reason(errno));
  switch (resolved_.mode) {
    case WriteMode::Create:
    case WriteMode::Replace: return renameIntoPlace();
    case WriteMode::ThroughInode:
    case WriteMode::Direct: return writeThrough();
    case WriteMode::Descriptor: return writeToDescriptor();
  }
  return false;
}

bool SafeFileWriter::renameIntoPlace() {
  const int fd = fileno(file_);
  if (resolved_.mode == WriteMode::Replace && !keepAttributes(fd, resolved_.path, resolved_.info)) {
    // A new file would not be what writing in place gives.
    resolved_.mode = WriteMode::ThroughInode;
    return writeThrough();
  }
  // Batched files are synced together before their renames.
  const bool synced = batch_ != nullptr || ::fsync(fd) == 0;
  const int err = errno;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!synced || !closed) return fail("cannot write " + displayPath(target_) + ": " + reason(synced ? errno : err));
  if (batch_ != nullptr) {
    batch_->defer({std::move(temp_), target_, resolved_.path});
    return true;
  }
  if (::rename(temp_.path().c_str(), resolved_.path.c_str()) != 0)
    return fail("cannot replace " + displayPath(target_) + ": " + reason(errno));
  temp_.renamed();
  syncFolder(folderOf(resolved_.path));
  return true;
}

// Through the descriptor as it is: its position and append mode decide where
// the bytes land; nothing is cut and the descriptor stays open.
bool SafeFileWriter::writeToDescriptor() {
  off_t length = 0;
  if (!copyDescriptor(fileno(file_), resolved_.descriptor, length))
    return fail("cannot write " + displayPath(target_) + ": " + reason(errno));
  abandon();
  return true;
}

// The old bytes stay until the new ones are complete in the temporary file;
// then the new size is reserved, the bytes are overwritten from the start and
// the file is cut to the new length.
bool SafeFileWriter::writeThrough() {
  const int out = ::open(resolved_.path.c_str(), O_WRONLY | O_CLOEXEC);
  struct stat info {
  }, content{};
  if (out < 0 || ::fstat(out, &info) != 0 || ::fstat(fileno(file_), &content) != 0) {
    const int err = errno;
    if (out >= 0) ::close(out);
    return fail("cannot write " + displayPath(target_) + ": " + reason(err));
  }
  const off_t length = content.st_size;
  int err = 0;
  if (S_ISREG(info.st_mode) && reserveSpace(out, length, err) == Reservation::NoRoom) {
    ::close(out);
    return fail("cannot write " + displayPath(target_) + ": " + reason(err));
  }
  return rewriteInode(out, length);
}

// From the first changed byte until a regular file is whole again, the
// temporary file holds the only complete copy: a termination signal waits.
// (Not for a pipe or a device, which may block for as long as its reader.)
bool SafeFileWriter::rewriteInode(int out, off_t length) {
  std::optional<SignalHold> hold;
  if (resolved_.mode == WriteMode::ThroughInode) hold.emplace();
  struct stat info {};
  off_t copied = 0;
  bool ok = copyDescriptor(fileno(file_), out, copied) && ::fstat(out, &info) == 0;
  if (ok && S_ISREG(info.st_mode)) ok = ::ftruncate(out, length) == 0 && ::fsync(out) == 0;
  const int err = errno;
  if (::close(out) != 0 && ok) ok = false;
  if (ok) {
    abandon();
    return true;
  }
  const std::string what = "cannot write " + displayPath(target_) + ": " + reason(err);
  if (resolved_.mode == WriteMode::Direct) return fail(what);
  // The file may now be half old, half new: its complete new content is kept.
  std::fclose(file_);
  file_ = nullptr;
  kept_ = temp_.path();
  temp_.keep();
  error_ = what + "; its new content is kept in " + displayPath(kept_);
  return false;
}

void SafeFileWriter::abandon() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
  temp_.remove();
}

bool replaceFile(std::string_view program, const fs::path& target, std::span<const uint8_t> data, std::string& error) {
  SafeFileWriter writer(program);
  if (writer.open(target) && writer.write(data) && writer.commit()) return true;
  error = writer.error();
  return false;
}

bool replaceFile(std::string_view program, const fs::path& target, std::string_view text, std::string& error) {
  return replaceFile(program, target,
                     std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()), error);
}

}  // namespace common
