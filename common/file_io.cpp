#include "file_io.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#include "paths.h"

namespace common {
namespace {

std::string reason(int err) { return err ? std::strerror(err) : "unknown error"; }

template <typename Container>
bool readInto(const std::filesystem::path& path, Container& out, std::string& error) {
  out.clear();
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + displayPath(path) + ": " + reason(errno);
    return false;
  }
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    error = "cannot read " + displayPath(path) + ": it is a folder";
    return false;
  }
  char buffer[1 << 16];
  while (in) {
    in.read(buffer, sizeof buffer);
    out.insert(out.end(), buffer, buffer + in.gcount());
  }
  if (in.bad()) {
    error = "cannot read " + displayPath(path) + ": " + reason(errno);
    return false;
  }
  return true;
}

}  // namespace

bool readWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes, std::string& error) {
  return readInto(path, bytes, error);
}

bool readWholeFile(const std::filesystem::path& path, std::string& text, std::string& error) {
  return readInto(path, text, error);
}

}  // namespace common
