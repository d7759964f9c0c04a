// The playing time of RIFF/WAVE data, read from its "fmt " and "data"
// chunks. A player that cannot tell when a sound has ended waits this long.
#pragma once

#include <cstdint>
#include <span>

#include "common/read_result.h"

namespace vtq {

// Milliseconds of sound in `bytes` (rounded up), or an error when the data
// are not a WAVE file with a usable format chunk before its data chunk. A data
// chunk that claims more bytes than the file holds counts what is there.
common::ReadResult<int64_t> waveLengthMs(std::span<const uint8_t> bytes);

}  // namespace vtq
