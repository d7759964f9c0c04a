#include "disk_writes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace common {

bool writeAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= size_t(n);
  }
  return true;
}

bool syncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  ::close(fd);
  return synced;
}

bool syncFileSystems(const std::set<std::filesystem::path>& folders) {
  std::set<dev_t> done;
  bool ok = true;
  for (const std::filesystem::path& folder : folders) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
      ok = false;
      continue;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && done.insert(info.st_dev).second) {
#ifdef __linux__
      ok = ::syncfs(fd) == 0 && ok;
#else
      ::sync();
#endif
    }
    ::close(fd);
  }
  return ok;
}

}  // namespace common
