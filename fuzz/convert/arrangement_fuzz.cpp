// Feeds arbitrary text to kvtool's arrangement reader: a success names a MIDI
// file beside the arrangement, a failure always says why.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "convert/kvtool/arrangement_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kvtool::Arrangement arrangement;
  std::string error;
  const bool ok = kvtool::parseArrangement(std::string(reinterpret_cast<const char*>(data), size), "songs/a.arr",
                                           arrangement, error);
  if (ok && arrangement.midiFile.empty()) std::abort();
  if (!ok && error.empty()) std::abort();
  return 0;
}
