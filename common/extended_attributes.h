// Copying a file's extended attributes to the file that replaces it: user
// notes (user.*), the POSIX ACL (system.posix_acl_access), security labels.
#pragma once

#include <filesystem>
#include <string>

namespace common {

// Copies every extended attribute of `from` to the open file `to`. Returns
// false, with `failed` naming the attribute, when one cannot be read or set
// (the process lacks the right, or the file system refuses it). A file system
// without extended attributes has none to copy: that is success.
bool copyExtendedAttributes(const std::filesystem::path& from, int to, std::string& failed);

}  // namespace common
