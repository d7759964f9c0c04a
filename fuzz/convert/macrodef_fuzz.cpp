// Feeds arbitrary text to the macro definition reader, then renumbers a macro
// of every command with the table it built.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "convert/foundation/fatal_error.h"
#include "convert/foundation/id_tables.h"
#include "convert/macros/macro_definitions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto ids = std::make_unique<voconv::IdTables>();  // fresh per input: a finding reproduces from its file
  ids->clear();
  std::ostringstream text;
  common::Output out(text);
  voconv::CommandTable table;
  voconv::parseMacroDefinitions(std::string(reinterpret_cast<const char*>(data), size), table, out, true);
  for (const auto& command : table.commands()) {
    for (const auto& ref : command.value.references) {
      if (ref.width != 0 && ref.width != 8 && ref.width != 16 && ref.width != 24 && ref.width != 32) std::abort();
      if (uint8_t(ref.kind) > 5) std::abort();
    }
  }
  ids->startScript(1);
  std::vector<uint8_t> steps(256 * 8 + 3, 0x11);  // a trailing part step stays untouched
  for (size_t i = 0; i < 256; ++i) steps[i * 8] = uint8_t(i);
  try {
    voconv::renumberMacroOperands(steps, 1, table, *ids);
  } catch (const voconv::FatalError&) {
    return 0;
  }
  for (size_t i = 0; i < 256; ++i) {
    if (steps[i * 8] != uint8_t(i)) std::abort();  // the command byte is never rewritten
  }
  if (steps[256 * 8] != 0x11 || steps[256 * 8 + 2] != 0x11) std::abort();
  return 0;
}
