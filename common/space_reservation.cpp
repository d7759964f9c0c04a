#include "space_reservation.h"

#include <fcntl.h>

#include <cerrno>

namespace common {

Reservation reserveSpace(int fd, off_t length, int& err) {
  if (length <= 0) return Reservation::Reserved;
#ifdef __linux__
  int result;
  do {
    result = ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, length);
  } while (result != 0 && errno == EINTR);
  if (result == 0) return Reservation::Reserved;
  err = errno;
  if (err == ENOSPC || err == EDQUOT || err == EFBIG) return Reservation::NoRoom;
  return Reservation::Unsupported;
#else
  (void)fd;
  (void)err;
  return Reservation::Unsupported;
#endif
}

}  // namespace common
