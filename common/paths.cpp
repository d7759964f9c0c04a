#include "paths.h"

#include <system_error>

namespace common {

std::filesystem::path pathFromName(std::string_view name) {
  std::string s(name);
  for (char& c : s) {
    if (c == '\\' || c == '/') c = static_cast<char>(std::filesystem::path::preferred_separator);
  }
  return std::filesystem::path(s);
}

std::string displayPath(const std::filesystem::path& path) { return path.lexically_normal().make_preferred().string(); }

std::filesystem::path joinPath(std::string_view folder, std::string_view name) {
  if (folder.empty()) return pathFromName(name);
  return pathFromName(folder) / pathFromName(name);
}

std::filesystem::path findPathIgnoringCase(const std::filesystem::path& path) {
  std::error_code ec;
  if (path.empty() || std::filesystem::exists(path, ec)) return path;
  std::filesystem::path resolved;
  for (const auto& component : path) {
    std::filesystem::path candidate = resolved.empty() ? component : resolved / component;
    if (std::filesystem::exists(candidate, ec) || component == "." || component == ".." ||
        component == path.root_name() || component == path.root_directory()) {
      resolved = candidate;
      continue;
    }
    const std::filesystem::path folder = resolved.empty() ? std::filesystem::path(".") : resolved;
    bool found = false;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      const std::string entry = it->path().filename().string();
      if (equalsIgnoringCase(entry, component.string())) {
        candidate = resolved.empty() ? std::filesystem::path(entry) : resolved / entry;
        found = true;
        break;
      }
    }
    if (!found) return path;
    resolved = candidate;
  }
  return resolved;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string extensionOf(const std::filesystem::path& path) { return path.extension().string(); }

}  // namespace common
