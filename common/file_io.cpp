#include "file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>

#include "paths.h"

#include "stream_input.h"

namespace common {

// A whole file has no limit of its own beyond what the system can hold.
bool readWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes, std::string& error) {
  return readStream(path, bytes, error, std::numeric_limits<size_t>::max());
}

bool readWholeFile(const std::filesystem::path& path, std::string& text, std::string& error) {
  return readStream(path, text, error, std::numeric_limits<size_t>::max());
}

namespace {

template <typename Container>
RegularFileRead readRegular(const std::filesystem::path& path, Container& out, std::string& error, uint64_t limit) {
  out.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    error = "cannot open " + displayPath(path) + ": " + std::strerror(errno);
    return RegularFileRead::CannotOpen;
  }
  struct stat info {};
  RegularFileRead status = RegularFileRead::Ok;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    error = "cannot open " + displayPath(path) + ": it is not a regular file";
    status = RegularFileRead::NotRegular;
  } else if (uint64_t(info.st_size) > limit) {
    error = "cannot read " + displayPath(path) + ": it is larger than " + std::to_string(limit) + " bytes";
    status = RegularFileRead::TooLarge;
  } else {
    out.resize(size_t(info.st_size));
    size_t done = 0;
    while (done < out.size()) {
      const ssize_t n = ::read(fd, out.data() + done, out.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        error = "cannot read " + displayPath(path) + ": " + std::strerror(errno);
        status = RegularFileRead::ReadFailed;
        break;
      }
      if (n == 0) break;  // the file shrank while it was read
      done += size_t(n);
    }
    out.resize(done);
  }
  ::close(fd);
  return status;
}

}  // namespace

RegularFileRead readRegularFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes, std::string& error,
                                uint64_t limit) {
  return readRegular(path, bytes, error, limit);
}

RegularFileRead readRegularFile(const std::filesystem::path& path, std::string& text, std::string& error,
                                uint64_t limit) {
  return readRegular(path, text, error, limit);
}

}  // namespace common
