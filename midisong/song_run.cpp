#include "song_run.h"

#include <cstdarg>

#include "messages.h"

namespace midisong {

std::string_view SongRun::text(int number) const {
  if (number == kMsgUsage) return release.usage;
  if (number == kMsgTooManySongTracks) return release.tooManyTracks;
  return messageText(number);
}

void SongRun::say(int number, ...) {
  const std::string format(text(number));
  va_list args;
  va_start(args, number);
  const std::string line = common::formatV(format.c_str(), args);
  va_end(args);
  out.write(line);
  out.write("\n");
}

void SongRun::sayBare(int number, ...) {
  const std::string format(text(number));
  va_list args;
  va_start(args, number);
  const std::string line = common::formatV(format.c_str(), args);
  va_end(args);
  out.write(line);
}

}  // namespace midisong
