#include "temporary_files.h"

namespace macrolift {
namespace {

constexpr std::string_view kMark = ".macrolift-";
constexpr size_t kRandomLength = 6;

bool isRandomChar(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

}  // namespace

bool isLeftoverTemporary(std::string_view name) {
  if (name.size() < 1 + kMark.size() + kRandomLength || name.front() != '.') return false;
  const std::string_view random = name.substr(name.size() - kRandomLength);
  for (char c : random) {
    if (!isRandomChar(c)) return false;
  }
  return name.substr(name.size() - kRandomLength - kMark.size(), kMark.size()) == kMark;
}

}  // namespace macrolift
