// Reserving room in a file before it is overwritten in place, so that a full
// disk shows before the first old byte changes.
#pragma once

#include <sys/types.h>

namespace common {

enum class Reservation {
  Reserved,     // the blocks for `length` bytes are allocated
  Unsupported,  // the file system cannot reserve (no fallocate, FAT, some
                // network and FUSE file systems): writing goes on unprotected
  NoRoom,       // the disk or the quota is full, or the file would be too big
};

// Allocates the blocks of bytes 0..length of `fd` without changing its size
// (FALLOC_FL_KEEP_SIZE), unlike posix_fallocate, whose fallback writes zeros
// and so grows the file. On copy-on-write file systems (btrfs, ZFS) the
// reservation does not cover the overwrite itself: there it is best effort.
// Sets `err` to the errno value on NoRoom.
Reservation reserveSpace(int fd, off_t length, int& err);

}  // namespace common
