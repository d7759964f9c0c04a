// A temporary file of this run: created beside (or for) a file that is about
// to get new content, named after it and after the program, and registered so
// that a termination signal removes it (termination_cleanup.h).
//
// Names are ".NAME.PROGRAM-XXXXXX" (".out.raw.kalptrim-a8Zq3k"): what a kill -9
// leaves behind can be recognised and removed by hand. A NAME too long for the
// file system's 255-byte limit is cut (at a character boundary).
//
//   common::TemporaryFile temp;
//   int fd = temp.create(folder, "out.raw", "kalptrim", 0600, error);
//   ... write through fd, rename temp.path() over the target ...
//   temp.renamed();           // or temp.remove() on failure, temp.keep() to leave it
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "termination_cleanup.h"

namespace common {

class TemporaryFile {
 public:
  TemporaryFile() = default;
  // Removes the file when it is still owned (not renamed, kept or removed).
  ~TemporaryFile() { remove(); }
  TemporaryFile(TemporaryFile&& other) noexcept : path_(std::move(other.path_)), entry_(std::move(other.entry_)) {
    other.path_.clear();
  }
  TemporaryFile& operator=(TemporaryFile&& other) noexcept;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  // Creates a new file in `folder` for content meant for `forName` (its file
  // name is used), with `permissions` less the umask, opened for reading and
  // writing. Returns the descriptor (the caller closes it), or -1 with `err`
  // set to the errno value.
  int create(const std::filesystem::path& folder, const std::filesystem::path& forName, std::string_view program,
             mode_t permissions, int& err);

  const std::filesystem::path& path() const { return path_; }
  bool owned() const { return !path_.empty(); }

  // The file was renamed away: forget it.
  void renamed() noexcept;
  // Leave the file where it is (it holds content a message names): forget it.
  void keep() noexcept { renamed(); }
  // Removes the file now, if still owned.
  void remove() noexcept;

 private:
  std::filesystem::path path_;
  TemporaryRegistration entry_;
};

// The file name a temporary file for `forName` made by `program` gets, with
// `suffix` in place of the random part.
std::string temporaryFileName(const std::filesystem::path& forName, std::string_view program, std::string_view suffix);

}  // namespace common
