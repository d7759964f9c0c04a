#include "project_file.h"

#include "common/file_io.h"
#include "convert/samples/sample_reader.h"

namespace voconv {

bool readProjectFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes, std::string& error) {
  return common::readRegularFile(path, bytes, error) == common::RegularFileRead::Ok;
}

bool readProjectFile(const std::filesystem::path& path, std::string& text, std::string& error) {
  return common::readRegularFile(path, text, error) == common::RegularFileRead::Ok;
}

bool refusedAsSampleFile(const std::filesystem::path& path) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(path, ec);
  if (ec || !std::filesystem::exists(status) || std::filesystem::is_directory(status)) return false;
  if (!std::filesystem::is_regular_file(status)) return true;
  return std::filesystem::file_size(path, ec) > convert::kMaxSampleFileSize && !ec;
}

}  // namespace voconv
