// Feeds arbitrary command lines (arguments separated by NUL bytes) to
// kvtool's command line reader: an accepted line names two non-empty files,
// and -B alone makes the song big-endian; a refused one says why.
#include <cstdint>
#include <cstdlib>

#include "convert/kvtool/kvtool_run.h"
#include "fuzz/arguments.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> args = fuzzing::splitArguments(data, size);
  kvtool::KvtoolCommandLine line;
  std::string error;
  if (!kvtool::parseKvtoolCommandLine(args, line, error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  if (line.arrangementPath.empty() || line.songPath.empty()) std::abort();
  bool big = false;
  for (const std::string& a : args) {
    if (a == line.arrangementPath) break;
    if (a == "-B" || a == "-b") big = true;
  }
  if (big != (line.endian == common::Endian::Big)) std::abort();
  return 0;
}
