// Replacing a file safely: what the user sees afterwards is what writing the
// file in place would give, made atomic where the file system allows it.
//
// - Symbolic links are followed as the kernel follows them; a dangling link
//   gets its file created where it points. The link itself stays.
// - A regular file with one name whose owner can be kept is replaced by a
//   temporary file beside it with its owner, group and permission bits (the
//   set-user/group-ID bits are dropped when the group cannot be kept), which
//   is synced, renamed over it, and its folder synced.
// - A file with several hard links, an owner that cannot be kept or in a
//   folder that cannot be written is written through its inode once the new
//   content is complete; should that fail, the content stays in a temporary
//   file that the error names.
// - Anything that is not a regular file (a device, a pipe, /dev/stdout) is
//   opened once the content is complete and written directly.
// - A folder, a socket or a file the process may not write is an error, and
//   nothing changes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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
    std::filesystem::path temp;
    std::filesystem::path target;  // the name the user gave, for messages
    std::filesystem::path final;   // where the bytes go, links followed
  };
  void defer(Pending pending) { pending_.push_back(std::move(pending)); }

  std::vector<Pending> pending_;
  std::vector<Failure> failures_;
};

// Writes a file so that it is either replaced completely or left as it was.
// A writer destroyed without a successful commit() removes its temporary file.
class SafeFileWriter {
 public:
  SafeFileWriter() = default;
  // Renames through `batch`: commit() leaves the rename to batch.commit().
  explicit SafeFileWriter(SafeWriteBatch& batch) : batch_(&batch) {}
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
  // The reason of the last failure, naming the file.
  const std::string& error() const { return error_; }

 private:
  bool fail(const std::string& what);
  bool createTemporary();
  bool renameIntoPlace();
  bool writeThrough();

  SafeWriteBatch* batch_ = nullptr;
  std::FILE* file_ = nullptr;
  std::filesystem::path target_;
  WriteTarget resolved_;
  std::filesystem::path temp_;
  std::string error_;
};

// Replaces `target` with `data` through a SafeFileWriter.
bool replaceFile(const std::filesystem::path& target, std::span<const uint8_t> data, std::string& error);
bool replaceFile(const std::filesystem::path& target, std::string_view text, std::string& error);

}  // namespace common
