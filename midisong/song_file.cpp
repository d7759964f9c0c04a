#include "song_file.h"

#include "common/file_io.h"
#include "messages.h"

namespace midisong {

int writeSongFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes, SongRun& run) {
  common::SafeFileWriter file(run.program);
  if (!file.open(path) || !file.write(bytes) || !file.commit()) {
    run.say(kMsgCannotWrite);
    // A file rewritten in place that could not be finished may be half old,
    // half new: say where its complete new content is.
    if (!file.keptContent().empty()) run.out.print("%s\n", file.error().c_str());
    return -1;
  }
  return 0;
}

}  // namespace midisong
