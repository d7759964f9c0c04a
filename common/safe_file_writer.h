// Replacing a file safely: what the user sees afterwards is what writing the
// file in place would give, made atomic where the file system allows it.
//
// - Symbolic links are followed as the kernel follows them; a dangling link
//   gets its file created where it points. The link itself stays.
// - A regular file with one name is replaced by a temporary file beside it
//   that gets its owner, group, permission bits, ACL and other extended
//   attributes, is synced, renamed over it, and its folder synced.
// - A file with several hard links, whose owner, group, mode or one of whose
//   extended attributes cannot be given to a new file, or in a folder that
//   cannot be written, is written through its inode once the new content is
//   complete. Its new size is reserved first, so that a full disk fails while
//   the file is still as it was. The rewrite itself is not atomic: should it
//   fail or the process be killed, the complete new content stays in the
//   temporary file, which the error names. Termination signals are held
//   meanwhile (termination_cleanup.h).
// - A descriptor this process has open (/dev/stdout, /dev/fd/N) is written
//   through as it is, in its append mode or at its position, once the content
//   is complete. Anything else that is not a regular file (a device, a pipe)
//   is opened then and written directly.
// - A folder, a socket or a file the process may not write is an error, and
//   nothing changes.
//
// Temporary files are named after the file and the program
// (".out.raw.kalptrim-XXXXXX", temporary_file.h) and removed when a
// termination signal ends the run.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "temporary_file.h"
#include "write_target.h"

namespace common {

// Many replacements that are synced together: their temporary files are
// flushed to disk with one sync of each file system, then renamed, then the
// folders are synced once more. Until commit() the targets are unchanged; a
// batch destroyed without commit() removes its temporary files.
class SafeWriteBatch {
 public:
  SafeWriteBatch() = default;
  ~SafeWriteBatch();
  SafeWriteBatch(const SafeWriteBatch&) = delete;
  SafeWriteBatch& operator=(const SafeWriteBatch&) = delete;

  struct Failure {
    std::filesystem::path target;
    std::string error;
  };
  // Renames every pending file into place. A rename that fails leaves its
  // target as it was and is listed in failures(); the others still happen.
  bool commit();
  const std::vector<Failure>& failures() const { return failures_; }
  size_t pending() const { return pending_.size(); }

 private:
  friend class SafeFileWriter;
  struct Pending {
    TemporaryFile temp;
    std::filesystem::path target;  // the name the user gave, for messages
    std::filesystem::path final;   // where the bytes go, links followed
  };
  void defer(Pending pending) { pending_.push_back(std::move(pending)); }

  std::vector<Pending> pending_;
  std::vector<Failure> failures_;
};

// Writes a file so that it is either replaced completely or left as it was.
// A writer destroyed without a successful commit() removes its temporary file.
// `program` is the running program's name, which temporary files carry.
class SafeFileWriter {
 public:
  explicit SafeFileWriter(std::string_view program) : program_(program) {}
  // Renames through `batch`: commit() leaves the rename to batch.commit().
  SafeFileWriter(std::string_view program, SafeWriteBatch& batch) : program_(program), batch_(&batch) {}
  ~SafeFileWriter();
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  // Decides how `target` is written and creates the temporary file that
  // collects the content. Fails on the cases above and when the temporary
  // file cannot be created.
  bool open(const std::filesystem::path& target, LinkRule links = LinkRule::Follow);
  bool write(std::span<const uint8_t> data);
  bool write(std::string_view text);
  // Appends everything from `source`'s current position to its end. Where the
  // system can copy between files in the kernel it does so; elsewhere the
  // bytes go through a buffer. The source's position is left unspecified.
  enum class CopyResult { Done, ReadFailed, WriteFailed };
  CopyResult copyFrom(std::FILE* source);
  // Puts the complete content in place.
  bool commit();
  // Removes the temporary file; the target stays as it was.
  void abandon();

  bool isOpen() const { return file_ != nullptr; }
  const std::filesystem::path& target() const { return target_; }
  // The reason of the last failure, naming the file (and, when a rewrite
  // through the inode failed, the temporary file that keeps the content).
  const std::string& error() const { return error_; }
  // After a failed rewrite through the inode: the temporary file that holds
  // the complete new content (the target may be half old, half new). Empty
  // otherwise.
  const std::filesystem::path& keptContent() const { return kept_; }

 private:
  bool fail(const std::string& what);
  bool createTemporary();
  bool renameIntoPlace();
  bool writeThrough();
  bool writeToDescriptor();
  bool rewriteInode(int out, off_t length);

  std::string program_;
  SafeWriteBatch* batch_ = nullptr;
  std::FILE* file_ = nullptr;
  std::filesystem::path target_;
  WriteTarget resolved_;
  TemporaryFile temp_;
  std::filesystem::path kept_;
  std::string error_;
};

// Replaces `target` with `data` through a SafeFileWriter for `program`.
bool replaceFile(std::string_view program, const std::filesystem::path& target, std::span<const uint8_t> data,
                 std::string& error);
bool replaceFile(std::string_view program, const std::filesystem::path& target, std::string_view text,
                 std::string& error);

}  // namespace common
