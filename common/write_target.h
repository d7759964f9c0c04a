// Where and how a file that is about to be replaced gets its new bytes.
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <string>

namespace common {

// How the new content reaches the file.
enum class WriteMode {
  // No file yet: a temporary file beside it is renamed into place.
  Create,
  // A regular file with one name whose owner can be kept: a temporary file
  // beside it, with its owner, group and permissions, is renamed over it.
  Replace,
  // Several hard links, an owner that cannot be kept or a folder that cannot
  // be written: the complete content is written through the existing file.
  ThroughInode,
  // Not a regular file (a device, a pipe): opened once the content is
  // complete and written directly.
  Direct,
  // A descriptor this process has open (/dev/stdout, /dev/fd/N, a link to
  // one): written through that descriptor as it is, at its position or in its
  // append mode, once the content is complete. Never truncated or closed.
  Descriptor,
};

// Symbolic links are followed as the kernel follows them, or the link named
// is itself replaced by a regular file.
enum class LinkRule { Follow, ReplaceLink };

struct WriteTarget {
  std::filesystem::path path;  // the file that gets the bytes
  WriteMode mode = WriteMode::Create;
  struct stat info {};  // the existing file's, in every mode but Create
  bool folderWritable = false;
  int descriptor = -1;  // in Descriptor mode
};

// Finds the file that writing `named` in place would write, and how to write
// it. Fails, with a message naming `named`, on a link loop, a folder, a
// socket, a file the process may not write and a descriptor that is not open
// for writing.
bool resolveWriteTarget(const std::filesystem::path& named, LinkRule rule, WriteTarget& target, std::string& error);

}  // namespace common
