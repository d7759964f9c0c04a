#include "descriptor_path.h"

#include <sys/stat.h>
#include <unistd.h>

#include <charconv>

namespace common {
namespace {

namespace fs = std::filesystem;

std::optional<int> parseNumber(const std::string& text) {
  int value = -1;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
  return value;
}

// The path's parts from the root, without "." and empty parts.
std::vector<std::string> partsOf(const fs::path& path) {
  std::error_code ec;
  const fs::path absolute = path.is_absolute() ? path : fs::absolute(path, ec);
  std::vector<std::string> parts;
  for (const fs::path& part : absolute.relative_path()) {
    if (part != "." && !part.empty()) parts.push_back(part.string());
  }
  return parts;
}

bool isThisProcess(const std::string& name) {
  if (name == "self" || name == "thread-self") return true;
  const std::optional<int> pid = parseNumber(name);
  return pid && *pid == int(::getpid());
}

// Follows symbolic links by their text until a descriptor path or something
// else is reached; 40 links at most, as the kernel allows.
std::optional<int> descriptorBehindLinks(fs::path path) {
  for (int hops = 0; hops <= 40; ++hops) {
    if (const std::optional<int> fd = descriptorNamedBy(path)) return fd;
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) return std::nullopt;
    const fs::path next = fs::read_symlink(path, ec);
    if (ec) return std::nullopt;
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return std::nullopt;
}

}  // namespace

std::optional<int> descriptorNamedBy(const fs::path& path) {
  const std::vector<std::string> parts = partsOf(path);
  if (parts.size() == 2 && parts[0] == "dev") {
    if (parts[1] == "stdin") return 0;
    if (parts[1] == "stdout") return 1;
    if (parts[1] == "stderr") return 2;
  }
  if (parts.size() == 3 && parts[0] == "dev" && parts[1] == "fd") return parseNumber(parts[2]);
  if (parts.size() == 4 && parts[0] == "proc" && isThisProcess(parts[1]) && parts[2] == "fd")
    return parseNumber(parts[3]);
  return std::nullopt;
}

bool isStandardOutput(int fd) {
  if (fd == STDOUT_FILENO) return true;
  struct stat mine {
  }, standard{};
  if (::fstat(fd, &mine) != 0 || ::fstat(STDOUT_FILENO, &standard) != 0) return false;
  return mine.st_dev == standard.st_dev && mine.st_ino == standard.st_ino;
}

bool namesStandardOutput(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg.empty()) continue;
    const std::optional<int> fd = descriptorBehindLinks(arg);
    if (fd && isStandardOutput(*fd)) return true;
  }
  return false;
}

}  // namespace common
