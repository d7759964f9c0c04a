#include "project_file.h"

#include <system_error>

#include "common/file_io.h"
#include "common/paths.h"

namespace voconv {

namespace {

bool isReadable(const std::filesystem::path& path, std::string& error) {
  std::error_code ec;
  if (std::filesystem::is_regular_file(path, ec)) return true;
  error = "cannot open " + common::displayPath(path) +
          (std::filesystem::exists(path, ec) ? ": it is not a regular file" : ": no such file");
  return false;
}

}  // namespace

bool readProjectFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes, std::string& error) {
  return isReadable(path, error) && common::readWholeFile(path, bytes, error);
}

bool readProjectFile(const std::filesystem::path& path, std::string& text, std::string& error) {
  return isReadable(path, error) && common::readWholeFile(path, text, error);
}

}  // namespace voconv
