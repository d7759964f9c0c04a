#include "project_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/paths.h"

namespace voconv {

namespace {

// Opens without blocking (a FIFO would wait for a writer), accepts only a
// regular file, and reads it whole: one open, one fstat, the reads.
template <typename Container>
bool readRegularFile(const std::filesystem::path& path, Container& out, std::string& error) {
  out.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    error = "cannot open " + common::displayPath(path) + ": " + std::strerror(errno);
    return false;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    error = "cannot open " + common::displayPath(path) + ": it is not a regular file";
    return false;
  }
  out.resize(size_t(info.st_size));
  size_t done = 0;
  while (done < out.size()) {
    const ssize_t n = ::read(fd, out.data() + done, out.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = "cannot read " + common::displayPath(path) + ": " + std::strerror(errno);
      ::close(fd);
      return false;
    }
    if (n == 0) break;  // the file shrank while it was read
    done += size_t(n);
  }
  out.resize(done);
  ::close(fd);
  return true;
}

}  // namespace

bool readProjectFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes, std::string& error) {
  return readRegularFile(path, bytes, error);
}

bool readProjectFile(const std::filesystem::path& path, std::string& text, std::string& error) {
  return readRegularFile(path, text, error);
}

}  // namespace voconv
