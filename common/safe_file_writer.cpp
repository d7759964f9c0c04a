#include "safe_file_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <set>

#include "paths.h"

namespace common {
namespace {

namespace fs = std::filesystem;

std::string reason(int err) { return err ? std::strerror(err) : "unknown error"; }

fs::path folderOf(const fs::path& file) { return file.has_parent_path() ? file.parent_path() : fs::path("."); }

// A name for the temporary file that no other writer of this process or of
// another one picks at the same moment.
fs::path temporaryName(const fs::path& folder, const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  std::string name = ".";
  name += target.filename().string();
  name += ".tmp";
  name += std::to_string(now % 1000000007);
  name += '_';
  name += std::to_string(counter++);
  return folder / name;
}

bool syncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  ::close(fd);
  return synced;
}

// Flushes every file system that holds one of `folders` to disk, once each.
void syncFileSystems(const std::set<fs::path>& folders) {
  std::set<dev_t> done;
  for (const fs::path& folder : folders) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && done.insert(info.st_dev).second) {
#ifdef __linux__
      ::syncfs(fd);
#else
      ::sync();
#endif
    }
    ::close(fd);
  }
}

// Gives the replacement the old file's owner, group and permission bits. The
// set-ID bits are dropped when the group cannot be kept.
bool keepOwnership(int fd, const struct stat& old) {
  mode_t mode = old.st_mode & 07777;
  if (::fchown(fd, old.st_uid, old.st_gid) != 0) mode &= mode_t(~(S_ISUID | S_ISGID));
  return ::fchmod(fd, mode) == 0;
}

bool writeAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= size_t(n);
  }
  return true;
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

SafeWriteBatch::~SafeWriteBatch() {
  for (const Pending& p : pending_) {
    std::error_code ec;
    fs::remove(p.temp, ec);
  }
}

bool SafeWriteBatch::commit() {
  std::set<fs::path> folders;
  for (const Pending& p : pending_) folders.insert(folderOf(p.final));
  syncFileSystems(folders);
  for (const Pending& p : pending_) {
    if (::rename(p.temp.c_str(), p.final.c_str()) == 0) continue;
    failures_.push_back({p.target, "cannot replace " + displayPath(p.target) + ": " + reason(errno)});
    std::error_code ec;
    fs::remove(p.temp, ec);
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
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp_ = temporaryName(folder, resolved_.path);
    const int fd = ::open(temp_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, permissions);
    if (fd < 0) {
      const int err = errno;
      temp_.clear();
      if (err == EEXIST) continue;
      return fail("cannot create " + displayPath(target_) + ": " + reason(err));
    }
    file_ = ::fdopen(fd, "w+b");
    if (file_ == nullptr) {
      ::close(fd);
      return fail("cannot create " + displayPath(target_) + ": " + reason(errno));
    }
    std::setvbuf(file_, nullptr, _IOFBF, 1 << 20);
    return true;
  }
  return fail("cannot create " + displayPath(target_) + ": no temporary name is free");
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
    case KernelCopy::Done:
      return CopyResult::Done;
    case KernelCopy::Failed:
      fail("cannot write " + displayPath(target_) + ": " + reason(errno));
      return CopyResult::WriteFailed;
    case KernelCopy::Unsupported:
      break;
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
    case WriteMode::Replace:
      return renameIntoPlace();
    case WriteMode::ThroughInode:
    case WriteMode::Direct:
      return writeThrough();
  }
  return false;
}

bool SafeFileWriter::renameIntoPlace() {
  const int fd = fileno(file_);
  if (resolved_.mode == WriteMode::Replace && !keepOwnership(fd, resolved_.info))
    return fail("cannot write " + displayPath(target_) + ": " + reason(errno));
  // Batched files are synced together before their renames.
  const bool synced = batch_ != nullptr || ::fsync(fd) == 0;
  const int err = errno;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!synced || !closed) return fail("cannot write " + displayPath(target_) + ": " + reason(synced ? errno : err));
  if (batch_ != nullptr) {
    batch_->defer({temp_, target_, resolved_.path});
    temp_.clear();
    return true;
  }
  if (::rename(temp_.c_str(), resolved_.path.c_str()) != 0)
    return fail("cannot replace " + displayPath(target_) + ": " + reason(errno));
  temp_.clear();
  syncFolder(folderOf(resolved_.path));
  return true;
}

// The old bytes stay until the new ones are complete in the temporary file;
// then they are overwritten from the start and the file is cut to the new
// length.
bool SafeFileWriter::writeThrough() {
  const int out = ::open(resolved_.path.c_str(), O_WRONLY | O_CLOEXEC);
  off_t length = 0;
  struct stat info {};
  bool ok = out >= 0 && copyDescriptor(fileno(file_), out, length) && ::fstat(out, &info) == 0;
  if (ok && S_ISREG(info.st_mode)) ok = ::ftruncate(out, length) == 0 && ::fsync(out) == 0;
  const int err = errno;
  if (out >= 0 && ::close(out) != 0 && ok) ok = false;
  if (ok) {
    abandon();
    return true;
  }
  const std::string what = "cannot write " + displayPath(target_) + ": " + reason(err);
  if (resolved_.mode == WriteMode::Direct) return fail(what);
  // The file may now be half old, half new: its complete new content is kept.
  std::fclose(file_);
  file_ = nullptr;
  error_ = what + "; its new content is kept in " + displayPath(temp_);
  temp_.clear();
  return false;
}

void SafeFileWriter::abandon() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!temp_.empty()) {
    std::error_code ec;
    fs::remove(temp_, ec);
    temp_.clear();
  }
}

bool replaceFile(const fs::path& target, std::span<const uint8_t> data, std::string& error) {
  SafeFileWriter writer;
  if (writer.open(target) && writer.write(data) && writer.commit()) return true;
  error = writer.error();
  return false;
}

bool replaceFile(const fs::path& target, std::string_view text, std::string& error) {
  return replaceFile(target, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()),
                     error);
}

}  // namespace common
