#include "journal_completion.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <set>
#include <vector>

#include "common/paths.h"
#include "temporary_files.h"

namespace macrolift {
namespace {

namespace fs = std::filesystem;

bool stillThere(const fs::path& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 || errno != ENOENT;
}

bool readAll(int fd, std::vector<uint8_t>& bytes) {
  uint8_t buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    bytes.insert(bytes.end(), buffer, buffer + n);
  }
}

// The target keeps its inode (its other names, its owner): its bytes are
// replaced by the temporary file's, which goes once they are on the disk.
bool rewriteThroughInode(const JournalMove& move) {
  std::vector<uint8_t> bytes;
  const int in = ::open(move.temp.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  const bool read = readAll(in, bytes);
  ::close(in);
  const int out = read ? ::open(move.target.c_str(), O_WRONLY | O_CLOEXEC) : -1;
  if (out < 0) return false;
  bool ok = common::writeAll(out, bytes.data(), bytes.size()) && ::ftruncate(out, off_t(bytes.size())) == 0 &&
            ::fsync(out) == 0;
  ok = ::close(out) == 0 && ok;
  return ok && ::unlink(move.temp.c_str()) == 0;
}

// A temporary file no longer there was put in place before the run was
// stopped. A rename is tried first and the name looked up only when it fails:
// one call per file where nothing went wrong.
bool applyMove(const JournalMove& move) {
  if (move.how == Placement::Rename)
    return ::rename(move.temp.c_str(), move.target.c_str()) == 0 || !stillThere(move.temp);
  if (!stillThere(move.temp)) return true;
  return rewriteThroughInode(move);
}

fs::path folderOf(const fs::path& file) { return file.has_parent_path() ? file.parent_path() : fs::path("."); }

// The record a stopped run leaves: only what the next run must not convert again.
RunJournal recordOf(const RunJournal& journal) {
  RunJournal record;
  record.state = JournalState::Stopped;
  record.exitCode = journal.exitCode;
  record.convertedMacros = journal.convertedMacros;
  return record;
}

// Puts every file in place. The temporary files and the journal are on the
// disk, so the order does not matter and two threads share the work. Returns
// the index of a move that failed, or the number of moves.
size_t applyMoves(const std::vector<JournalMove>& moves) {
  std::atomic<size_t> failed{moves.size()};
  forEachIndexInTwoThreads(moves.size(), [&](size_t i) {
    size_t none = moves.size();
    if (!applyMove(moves[i])) failed.compare_exchange_strong(none, i);
  });
  return failed;
}

}  // namespace

bool completeJournal(const fs::path& root, const RunJournal& journal, common::Output& console) {
  const size_t failed = applyMoves(journal.moves);
  if (failed < journal.moves.size()) {
    console.print("*** ERROR: Error writing file \"%s\"!\n", common::displayPath(journal.moves[failed].target).c_str());
    return false;
  }
  std::set<fs::path> folders;
  for (const JournalMove& move : journal.moves) folders.insert(folderOf(move.target));
  // The renames reach the disk before anything that depends on them.
  common::syncFileSystems(folders);
  for (const fs::path& old : journal.removals) {
    if (::unlink(old.c_str()) != 0 && errno != ENOENT)
      console.print("*** WARNING: Cannot delete file \"%s\"!\n", common::displayPath(old).c_str());
  }
  std::string error;
  const bool stopped = journal.exitCode != 0 && !journal.convertedMacros.empty();
  if (stopped ? writeJournal(root, recordOf(journal), error) : removeJournal(root, error)) return true;
  console.print("*** %s\n", error.c_str());
  return false;
}

}  // namespace macrolift
