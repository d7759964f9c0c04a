// What a document file is on disk (device, inode, size, modification time),
// remembered when the window opens or saves it, so that a change by another
// program (a batch run, another editor) is noticed before it is overwritten.
#pragma once

#include <cstdint>
#include <filesystem>

namespace vtq {

struct DocumentIdentity {
  bool exists = false;
  uint64_t device = 0;
  uint64_t inode = 0;
  uint64_t size = 0;
  int64_t modifiedNs = 0;  // modification time in nanoseconds since the epoch

  friend bool operator==(const DocumentIdentity&, const DocumentIdentity&) = default;
};

// The identity of the file `path` names (symbolic links followed); a missing
// or unreadable file has exists = false.
DocumentIdentity documentIdentity(const std::filesystem::path& path);

// Whether the file changed since `remembered` was taken: replaced (another
// inode, as a safe save gives), rewritten, or removed.
bool changedOnDisk(const DocumentIdentity& remembered, const std::filesystem::path& path);

}  // namespace vtq
