#include "planned_writes.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <thread>

#include "common/paths.h"
#include "temporary_files.h"

namespace macrolift {
namespace {

namespace fs = std::filesystem;

fs::path folderOf(const fs::path& file) { return file.has_parent_path() ? file.parent_path() : fs::path("."); }

// Two threads: the walk's machine may have few cores, and the time goes into
// the file system's work for each new file, which two threads overlap well.
constexpr unsigned kWriterThreads = 2;

// Gives the temporary file its target's owner, group and permission bits.
// False when the owner or group cannot be given: the target is then
// rewritten through its inode, which keeps them.
bool keepOwnership(int fd, const struct stat& old) {
  if (::fchown(fd, old.st_uid, old.st_gid) != 0) return false;
  return ::fchmod(fd, old.st_mode & 07777) == 0;
}

}  // namespace

PlannedWrites::~PlannedWrites() { removeTemporaries(); }

ReplaceResult PlannedWrites::plan(const fs::path& target, common::LinkRule links, std::vector<uint8_t> bytes,
                                  std::string& error) {
  Write write{target, {}, std::move(bytes), {}, Placement::Rename, 0};
  if (!common::resolveWriteTarget(target, links, write.resolved, error)) return ReplaceResult::CannotOpen;
  switch (write.resolved.mode) {
    case common::WriteMode::Create:
      if (!write.resolved.folderWritable) {
        error = "cannot create " + common::displayPath(target) + ": " + std::strerror(EACCES);
        return ReplaceResult::CannotOpen;
      }
      break;
    case common::WriteMode::Replace: break;
    case common::WriteMode::ThroughInode: write.how = Placement::ThroughInode; break;
    case common::WriteMode::Direct:
      error = "cannot replace " + common::displayPath(target) + ": not a regular file";
      return ReplaceResult::CannotOpen;
  }
  writes_.push_back(std::move(write));
  return ReplaceResult::Replaced;
}

void PlannedWrites::writeOne(Write& write, const fs::path& spareFolder, mode_t umask) const {
  const common::WriteTarget& resolved = write.resolved;
  const bool beside = write.how == Placement::Rename || resolved.folderWritable;
  const int fd = createTemporary(beside ? folderOf(resolved.path) : spareFolder, resolved.path.filename().string(),
                                 write.temp);
  if (fd < 0) {
    write.error = errno;
    return;
  }
  bool ok = writeAll(fd, write.bytes.data(), write.bytes.size());
  if (ok && resolved.mode == common::WriteMode::Create) {
    ok = ::fchmod(fd, 0666 & ~umask) == 0;  // as the shell's ">" creates a file
  } else if (ok && write.how == Placement::Rename && !keepOwnership(fd, resolved.info)) {
    write.how = Placement::ThroughInode;
  }
  if (!ok) write.error = errno;
  if (::close(fd) != 0 && ok) write.error = errno;
}

bool PlannedWrites::writeTemporaries(const fs::path& spareFolder, std::string& error) {
  const mode_t umask = ::umask(0);
  ::umask(umask);
  std::atomic<size_t> next{0};
  auto work = [&] {
    for (size_t i = next++; i < writes_.size(); i = next++) writeOne(writes_[i], spareFolder, umask);
  };
  std::vector<std::thread> threads;
  for (unsigned t = 1; t < kWriterThreads && writes_.size() > 1; ++t) threads.emplace_back(work);
  work();
  for (std::thread& thread : threads) thread.join();

  std::set<fs::path> folders;
  for (const Write& write : writes_) {
    if (write.error != 0) {
      error = "cannot write " + common::displayPath(write.target) + ": " + std::strerror(write.error);
      removeTemporaries();
      return false;
    }
    folders.insert(folderOf(write.temp));
  }
  if (syncFileSystems(folders)) return true;
  error = "cannot write " + common::displayPath(writes_.front().target) + ": " + std::strerror(errno);
  removeTemporaries();
  return false;
}

std::vector<JournalMove> PlannedWrites::moves() const {
  std::vector<JournalMove> moves;
  moves.reserve(writes_.size());
  for (const Write& write : writes_) moves.push_back({write.how, write.temp, write.resolved.path});
  return moves;
}

void PlannedWrites::removeTemporaries() {
  for (Write& write : writes_) {
    if (!write.temp.empty()) ::unlink(write.temp.c_str());
    write.temp.clear();
  }
}

}  // namespace macrolift
