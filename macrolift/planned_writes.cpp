#include "planned_writes.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/extended_attributes.h"
#include "common/paths.h"
#include "program_name.h"
#include "temporary_files.h"

namespace macrolift {
namespace {

namespace fs = std::filesystem;

fs::path folderOf(const fs::path& file) { return file.has_parent_path() ? file.parent_path() : fs::path("."); }

// Gives the temporary file its target's owner, group, permission bits and
// extended attributes (the ACL among them). False when one cannot be given:
// the target is then rewritten through its inode, which keeps them all.
// Owner and group are changed only where they differ: each change is a
// journalled inode update, which over thousands of files adds up.
bool keepAttributes(int fd, const fs::path& target, const struct stat& old) {
  struct stat now {};
  if (::fstat(fd, &now) != 0) return false;
  const bool sameOwner = now.st_uid == old.st_uid && now.st_gid == old.st_gid;
  // A change of owner clears the set-user-ID bits: the mode is set after it.
  if (!sameOwner && ::fchown(fd, old.st_uid, old.st_gid) != 0) return false;
  if ((!sameOwner || (now.st_mode & 07777) != (old.st_mode & 07777)) && ::fchmod(fd, old.st_mode & 07777) != 0)
    return false;
  std::string failed;
  return common::copyExtendedAttributes(target, fd, failed);
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
    case common::WriteMode::Descriptor:
      error = "cannot replace " + common::displayPath(target) + ": not a regular file";
      return ReplaceResult::CannotOpen;
  }
  writes_.push_back(std::move(write));
  return ReplaceResult::Replaced;
}

void PlannedWrites::writeOne(Write& write, const fs::path& spareFolder) const {
  const common::WriteTarget& resolved = write.resolved;
  const bool beside = write.how == Placement::Rename || resolved.folderWritable;
  // A new file gets the permissions the umask allows, as the shell's ">" gives.
  const mode_t permissions = resolved.mode == common::WriteMode::Create ? 0666 : 0600;
  const int fd = write.temp.create(beside ? folderOf(resolved.path) : spareFolder, resolved.path, kProgramName,
                                   permissions, write.error);
  if (fd < 0) return;
  write.error = 0;
  bool ok = common::writeAll(fd, write.bytes.data(), write.bytes.size());
  if (ok && resolved.mode == common::WriteMode::Replace && !keepAttributes(fd, resolved.path, resolved.info)) {
    write.how = Placement::ThroughInode;
  }
  if (!ok) write.error = errno;
  if (::close(fd) != 0 && ok) write.error = errno;
}

bool PlannedWrites::writeTemporaries(const fs::path& spareFolder, std::string& error) {
  forEachIndexInTwoThreads(writes_.size(), [&](size_t i) { writeOne(writes_[i], spareFolder); });

  std::set<fs::path> folders;
  for (const Write& write : writes_) {
    if (write.error != 0) {
      error = "cannot write " + common::displayPath(write.target) + ": " + std::strerror(write.error);
      removeTemporaries();
      return false;
    }
    folders.insert(folderOf(write.temp.path()));
  }
  if (common::syncFileSystems(folders)) return true;
  error = "cannot write " + common::displayPath(writes_.front().target) + ": " + std::strerror(errno);
  removeTemporaries();
  return false;
}

std::vector<JournalMove> PlannedWrites::moves() const {
  std::vector<JournalMove> moves;
  moves.reserve(writes_.size());
  for (const Write& write : writes_) moves.push_back({write.how, write.temp.path(), write.resolved.path});
  return moves;
}

void PlannedWrites::removeTemporaries() {
  for (Write& write : writes_) write.temp.remove();
}

void PlannedWrites::release() {
  for (Write& write : writes_) write.temp.keep();
  writes_.clear();
}

}  // namespace macrolift
