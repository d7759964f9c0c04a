#include "song_folder.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <system_error>
#include <vector>

#include "common/output.h"
#include "common/paths.h"

namespace voconv {

bool SongFolder::create(const std::string& outputDirectory, std::string& error) {
  std::string pattern = common::joinPath(outputDirectory, "voconv-songs.XXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  // Registered before a signal can end the run with the folder made.
  common::SignalHold hold;
  if (!::mkdtemp(name.data())) {
    error = common::format("cannot make a folder for the songs in <%s>: %s",
                           outputDirectory.empty() ? "." : outputDirectory.c_str(), std::strerror(errno));
    return false;
  }
  path_ = name.data();
  registration_ = common::TemporaryRegistration(path_, common::TemporaryRegistration::Kind::Folder);
  return true;
}

void SongFolder::remove() {
  if (path_.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
  registration_.release();
  path_.clear();
}

}  // namespace voconv
