// Saving a song file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "song_run.h"

namespace midisong {

// Replaces the file at `path` with `bytes` (temporary file, then rename).
// Prints "*** Could not write destination file." and returns -1 on failure;
// the file is then left as it was.
int writeSongFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes, SongRun& run);

}  // namespace midisong
