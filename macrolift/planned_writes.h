// The files a run rewrites, collected during the walk and written only once
// it is over: every temporary file is created and filled (from two threads:
// creating many small files is where the time goes), all are synced with one
// sync of each file system, and the run's journal then says where each one
// goes.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "common/temporary_file.h"
#include "common/write_target.h"
#include "run_journal.h"

namespace macrolift {

enum class ReplaceResult {
  Replaced,
  // The file is write-protected (no write permission for its owner), is not
  // a regular file, or cannot be replaced; the file is as it was.
  CannotOpen,
  // Writing or renaming failed; the file is as it was.
  WriteFailed,
};

class PlannedWrites {
 public:
  PlannedWrites() = default;
  ~PlannedWrites();  // removes temporary files the journal has not taken over
  PlannedWrites(const PlannedWrites&) = delete;
  PlannedWrites& operator=(const PlannedWrites&) = delete;

  // Checks that `target` can be replaced as writing it in place would (its
  // owner, group and permissions kept) and keeps its new content. On failure
  // `error` names the file and the reason.
  ReplaceResult plan(const std::filesystem::path& target, common::LinkRule links, std::vector<uint8_t> bytes,
                     std::string& error);

  // Creates every temporary file with its content and its target's owner,
  // group, permissions and extended attributes (where one of those cannot be
  // given, the target is rewritten through its inode), and syncs them. A target whose folder cannot be
  // written gets its temporary file in `spareFolder`. On failure every
  // temporary file is removed and `error` names the target that failed.
  bool writeTemporaries(const std::filesystem::path& spareFolder, std::string& error);

  // Where each temporary file goes, in the order planned.
  std::vector<JournalMove> moves() const;
  // The temporary files now belong to the journal that lists them: a
  // termination signal no longer removes them.
  void release();

  size_t size() const { return writes_.size(); }

 private:
  struct Write {
    std::filesystem::path target;  // the name the walk gave, for messages
    common::WriteTarget resolved;
    std::vector<uint8_t> bytes;
    common::TemporaryFile temp;
    Placement how = Placement::Rename;
    int error = 0;  // errno of a failed write
  };
  void writeOne(Write& write, const std::filesystem::path& spareFolder) const;
  void removeTemporaries();

  std::vector<Write> writes_;
};

}  // namespace macrolift
