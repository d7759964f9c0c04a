#include "file_replacement.h"

#include "common/file_io.h"
#include "common/paths.h"

namespace macrolift {

ReplaceResult replaceInPlace(const std::filesystem::path& path, std::span<const uint8_t> data, std::string& error,
                             std::optional<std::filesystem::perms> knownPermissions) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::perms permissions = knownPermissions ? *knownPermissions : fs::status(path, ec).permissions();
  const bool known = !ec && permissions != fs::perms::unknown;
  if (known && (permissions & fs::perms::owner_write) == fs::perms::none) {
    error = "cannot replace " + common::displayPath(path) + ": the file is write-protected";
    return ReplaceResult::CannotOpen;
  }
  common::SafeFileWriter writer;
  if (!writer.open(path)) {
    error = writer.error();
    return ReplaceResult::CannotOpen;
  }
  if (!writer.write(data) || !writer.commit()) {
    error = writer.error();
    return ReplaceResult::WriteFailed;
  }
  // The new file was created with the default permissions; keep the old ones.
  if (known) fs::permissions(path, permissions, ec);
  return ReplaceResult::Replaced;
}

ReplaceResult replaceInPlace(const std::filesystem::path& path, std::string_view text, std::string& error) {
  return replaceInPlace(
      path, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()), error);
}

}  // namespace macrolift
