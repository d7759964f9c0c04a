// Feeds arbitrary bytes to the wave length reader, which a player uses to
// bound its wait. A length it reports can never exceed what the bytes hold at
// one byte per second.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/wave_length.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto length = vtq::waveLengthMs(std::span<const uint8_t>(data, size));
  if (length.ok() && (*length < 0 || *length > int64_t(size) * 1000)) std::abort();
  return 0;
}
