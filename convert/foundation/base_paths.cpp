#include "base_paths.h"

#include <system_error>

#include "common/paths.h"

namespace voconv {

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// The file a candidate names, matching letter case loosely; empty when the
// candidate names no file.
std::filesystem::path existingFile(const std::filesystem::path& candidate) {
  std::error_code ec;
  if (std::filesystem::is_regular_file(candidate, ec)) return candidate;
  std::filesystem::path found = common::findPathIgnoringCase(candidate);
  if (found != candidate && std::filesystem::is_regular_file(found, ec)) return found;
  return {};
}

}  // namespace

bool BasePaths::add(std::string path) {
  if (paths_.size() >= kMaxEntries) return false;
  paths_.push_back(std::move(path));
  return true;
}

std::filesystem::path BasePaths::resolve(std::string_view name) const {
  const std::filesystem::path asGiven = common::pathFromName(name);
  std::filesystem::path candidate;
  for (const std::string& base : paths_) {
    if (base.empty()) {
      candidate = asGiven;
    } else {
      std::string_view rest = name;
      if (!rest.empty() && isSeparator(rest.front())) rest.remove_prefix(1);
      candidate = common::joinPath(base, rest);
    }
    std::filesystem::path found = existingFile(candidate);
    if (!found.empty()) return found;
  }
  return candidate;
}

}  // namespace voconv
