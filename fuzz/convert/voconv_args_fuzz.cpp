// Feeds arbitrary command lines (arguments separated by NUL bytes) to the
// converter's option reader, for both releases. The reader either stops the
// run with an exit code and a message, or returns the first argument that is
// not an option; the settings it leaves are those the option model promises.
#include <cstdint>
#include <cstdlib>
#include <sstream>

#include "convert/command_line.h"
#include "convert/conversion.h"
#include "convert/exit_codes.h"
#include "fuzz/arguments.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> args = fuzzing::splitArguments(data, size);
  for (const voconv::ReleaseProfile* release : {&voconv::currentRelease(), &voconv::release115()}) {
    std::ostringstream text;
    common::Output out(text);
    voconv::Conversion c(out, *release);
    int exitCode = 0;
    const std::optional<size_t> first = voconv::readOptions(args, c, exitCode);
    if (!first) {
      check(exitCode != voconv::kExitDone && !text.str().empty());
      continue;
    }
    check(*first <= args.size());
    if (*first < args.size()) check(args[*first].empty() || args[*first][0] != '-');
    const voconv::RunSettings& s = c.settings;
    // The slave-ROM and lower-case flags stay set when a later -t names
    // another target; only the Game Boy's writers read them.
    check(s.target != nullptr);
    if (s.target->setsAssemblerInclude) check(s.assemblerInclude);
    if (s.target->setsSlaveRom) check(s.slaveRom);
    if (!release->knowsGameBoyAdvance) check(s.target->spelling.empty() || !s.target->announcement115.empty());
  }
  return 0;
}
