// The private folder in which a handheld run makes the songs it consumes:
// created inside the output folder under a fresh name, so that no file the
// user keeps there (and no link planted there) is written or deleted, and
// removed with everything in it when the run ends, however it ends (a
// termination signal included: the folder is registered for that cleanup).
#pragma once

#include <filesystem>
#include <string>

#include "common/termination_cleanup.h"

namespace voconv {

class SongFolder {
 public:
  SongFolder() = default;
  ~SongFolder() { remove(); }
  SongFolder(const SongFolder&) = delete;
  SongFolder& operator=(const SongFolder&) = delete;

  // Creates "voconv-songs.XXXXXX" in `outputDirectory` ("" is the current
  // folder); false with `error` set when it cannot be made.
  bool create(const std::string& outputDirectory, std::string& error);
  // The folder as messages and tool command lines show it.
  const std::string& path() const { return path_; }
  // Removes the folder and what the tools left in it.
  void remove();

 private:
  std::string path_;
  common::TemporaryRegistration registration_;
};

}  // namespace voconv
