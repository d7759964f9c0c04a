#include "file_io.h"

#include <limits>

#include "stream_input.h"

namespace common {

// A whole file has no limit of its own beyond what the system can hold.
bool readWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes, std::string& error) {
  return readStream(path, bytes, error, std::numeric_limits<size_t>::max());
}

bool readWholeFile(const std::filesystem::path& path, std::string& text, std::string& error) {
  return readStream(path, text, error, std::numeric_limits<size_t>::max());
}

}  // namespace common
