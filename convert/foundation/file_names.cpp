#include "file_names.h"

namespace voconv {

bool namesFileInOutputFolder(std::string_view name) {
  if (name.empty() || name.find("..") != std::string_view::npos) return false;
  const bool drivePrefix =
      name.size() >= 2 && name[1] == ':' && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
  if (drivePrefix) return false;
  for (const char c : name) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || u < 0x20 || u == 0x7F) return false;
  }
  return true;
}

}  // namespace voconv
