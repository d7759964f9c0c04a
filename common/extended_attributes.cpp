#include "extended_attributes.h"

#include <sys/xattr.h>

#include <cerrno>
#include <string_view>
#include <vector>

namespace common {
namespace {

bool unsupported(int err) { return err == ENOTSUP || err == ENOSYS; }

// Reads a list or a value whose size may change between the two calls.
template <typename Read>
bool readGrowing(std::vector<char>& buffer, Read read) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    const ssize_t size = read(nullptr, 0);
    if (size < 0) return false;
    buffer.resize(size_t(size));
    if (size == 0) return true;  // nothing to read: spares the second call
    const ssize_t got = read(buffer.data(), buffer.size());
    if (got >= 0) {
      buffer.resize(size_t(got));
      return true;
    }
    if (errno != ERANGE) return false;
  }
  return false;
}

}  // namespace

bool copyExtendedAttributes(const std::filesystem::path& from, int to, std::string& failed) {
  const char* path = from.c_str();
  std::vector<char> names;
  if (!readGrowing(names, [&](char* b, size_t n) { return ::listxattr(path, b, n); })) {
    failed = "(list)";
    return unsupported(errno);
  }
  std::vector<char> value;
  for (size_t at = 0; at < names.size();) {
    const std::string_view name(names.data() + at);
    at += name.size() + 1;
    if (name.empty()) continue;
    const char* key = name.data();
    const bool copied = readGrowing(value, [&](char* b, size_t n) { return ::getxattr(path, key, b, n); }) &&
                        ::fsetxattr(to, key, value.data(), value.size(), 0) == 0;
    if (!copied && errno != ENODATA) {
      failed = name;
      return false;
    }
  }
  return true;
}

}  // namespace common
