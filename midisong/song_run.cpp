#include "song_run.h"

#include <cstdarg>

#include "messages.h"

namespace midisong {

std::string_view SongRun::text(int number) const {
  if (number == kMsgUsage) return release.usage;
  if (number == kMsgTooManySongTracks) return release.tooManyTracks;
  return messageText(number);
}

std::string SongRun::formatMessage(int number, va_list args) const {
  const std::string format(text(number));
  return common::formatV(format.c_str(), args);
}

void SongRun::say(int number, ...) {
  va_list args;
  va_start(args, number);
  const std::string line = formatMessage(number, args);
  va_end(args);
  out.write(line);
  out.write("\n");
}

void SongRun::sayBare(int number, ...) {
  va_list args;
  va_start(args, number);
  const std::string line = formatMessage(number, args);
  va_end(args);
  out.write(line);
}

}  // namespace midisong
