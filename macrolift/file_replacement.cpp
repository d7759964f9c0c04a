#include "file_replacement.h"

#include <sys/stat.h>

#include <vector>

#include "common/paths.h"
#include "common/safe_file_writer.h"
#include "program_name.h"

namespace macrolift {

ReplaceResult replaceInPlace(const std::filesystem::path& path, std::span<const uint8_t> data, std::string& error,
                             PlannedWrites* plan) {
  // The owner's write permission is the project's own mark of a file not to
  // be touched, for every user, root included.
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & S_IWUSR) == 0) {
    error = "cannot replace " + common::displayPath(path) + ": the file is write-protected";
    return ReplaceResult::CannotOpen;
  }
  if (plan != nullptr)
    return plan->plan(path, common::LinkRule::ReplaceLink, std::vector<uint8_t>(data.begin(), data.end()), error);
  common::SafeFileWriter writer(kProgramName);
  if (!writer.open(path, common::LinkRule::ReplaceLink)) {
    error = writer.error();
    return ReplaceResult::CannotOpen;
  }
  if (!writer.write(data) || !writer.commit()) {
    error = writer.error();
    return ReplaceResult::WriteFailed;
  }
  return ReplaceResult::Replaced;
}

ReplaceResult replaceInPlace(const std::filesystem::path& path, std::string_view text, std::string& error) {
  return replaceInPlace(path, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()),
                        error);
}

}  // namespace macrolift
