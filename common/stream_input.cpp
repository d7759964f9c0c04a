#include "stream_input.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "paths.h"

namespace common {
namespace {

template <typename Container>
bool readInto(const std::filesystem::path& path, Container& out, std::string& error, size_t limit) {
  out.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = "cannot open " + displayPath(path) + ": " + std::strerror(errno);
    return false;
  }
  struct stat info {};
  const bool known = ::fstat(fd, &info) == 0;
  const auto refuse = [&](const std::string& why) {
    ::close(fd);
    error = "cannot read " + displayPath(path) + ": " + why;
    out.clear();
    return false;
  };
  if (known && S_ISDIR(info.st_mode)) return refuse("it is a folder");
  const std::string tooLong = "it holds more than " + std::to_string(limit >> 20) + " MB";
  if (known && S_ISREG(info.st_mode)) {
    if (uint64_t(info.st_size) > limit) return refuse(tooLong);
    out.reserve(size_t(info.st_size));
  }
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return refuse(std::strerror(errno));
    if (n == 0) break;
    if (size_t(n) > limit - out.size()) return refuse(tooLong);
    out.insert(out.end(), buffer, buffer + n);
  }
  ::close(fd);
  return true;
}

}  // namespace

bool readStream(const std::filesystem::path& path, std::vector<uint8_t>& bytes, std::string& error, size_t limit) {
  return readInto(path, bytes, error, limit);
}

bool readStream(const std::filesystem::path& path, std::string& text, std::string& error, size_t limit) {
  return readInto(path, text, error, limit);
}

bool isStream(const std::filesystem::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode);
}

}  // namespace common
