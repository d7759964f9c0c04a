#include "song_file.h"

#include "common/file_io.h"
#include "messages.h"

namespace midisong {

int writeSongFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes, SongRun& run) {
  common::SafeFileWriter file;
  if (!file.open(path) || !file.write(bytes) || !file.commit()) {
    run.say(kMsgCannotWrite);
    return -1;
  }
  return 0;
}

}  // namespace midisong
