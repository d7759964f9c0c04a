#include "document_identity.h"

#include <sys/stat.h>

namespace vtq {

DocumentIdentity documentIdentity(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return {};
  DocumentIdentity identity;
  identity.exists = true;
  identity.device = uint64_t(info.st_dev);
  identity.inode = uint64_t(info.st_ino);
  identity.size = uint64_t(info.st_size);
  identity.modifiedNs = int64_t(info.st_mtim.tv_sec) * 1000000000 + int64_t(info.st_mtim.tv_nsec);
  return identity;
}

bool changedOnDisk(const DocumentIdentity& remembered, const std::filesystem::path& path) {
  return !(documentIdentity(path) == remembered);
}

}  // namespace vtq
