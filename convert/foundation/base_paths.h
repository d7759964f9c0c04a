// The project base paths through which every project file is found.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace voconv {

class BasePaths {
 public:
  // Entry 0 (the current folder) and up to eight more from "-p".
  static constexpr size_t kMaxEntries = 9;

  BasePaths() { clear(); }
  void clear() { paths_.assign(1, std::string()); }
  // Appends a base path; false when the list is full.
  bool add(std::string path);
  const std::vector<std::string>& entries() const { return paths_; }

  // The path under which a project file is opened: for each base path in
  // order, the base path joined with the name (one leading separator of the
  // name dropped; with the empty base path the name as it is). The first
  // candidate that is a file, found as written or with each component
  // matched without regard to case, is taken; when none is, the candidate of
  // the last base path (whose opening then fails). Absolute names are used
  // as they are.
  std::filesystem::path resolve(std::string_view name) const;

 private:
  std::vector<std::string> paths_;
};

}  // namespace voconv
