// Feeds a fuzzed macro definition set and fuzzed macro bytes through the
// converter's reading and renumbering of a binary macro file. The input is
// the definition text, a NUL byte, then the macro file; the macro's script
// comes from the first byte. Renumbering may change only the reference
// fields the definitions name, keeps the file's size and leaves the command
// bytes and any trailing partial step alone.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "convert/foundation/fatal_error.h"
#include "convert/foundation/id_tables.h"
#include "convert/foundation/project_file.h"
#include "convert/macros/macro_definitions.h"
#include "fuzz/temp_folder.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

// The bytes of one step that renumbering may rewrite.
std::vector<bool> writableBytes(const voconv::CommandTable& table, uint8_t command) {
  std::vector<bool> writable(voconv::kMacroStepSize, false);
  for (const auto& ref : table.commandReferences(command)) {
    const bool renumbered = ref.kind == voconv::ReferenceKind::Sample ||
                            ref.kind == voconv::ReferenceKind::SoundMacro || ref.kind == voconv::ReferenceKind::Table;
    if (!renumbered || ref.startByte < 1 || ref.startByte + 2u > voconv::kMacroStepSize) continue;
    writable[ref.startByte] = writable[ref.startByte + 1] = true;
  }
  return writable;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const fuzzing::TempFolder folder("convert-macro-file-fuzz");
  const uint8_t* split = static_cast<const uint8_t*>(std::memchr(data, 0, size));
  if (split == nullptr || split == data) return 0;
  const std::string definitions(reinterpret_cast<const char*>(data + 1), size_t(split - data - 1));
  const std::filesystem::path macroPath = folder.path() / "macro.vqm";
  {
    std::ofstream f(macroPath, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(split + 1), std::streamsize(data + size - split - 1));
  }

  std::ostringstream text;
  common::Output out(text);
  voconv::CommandTable table;
  voconv::parseMacroDefinitions(definitions, table, out, false);
  auto ids = std::make_unique<voconv::IdTables>();
  ids->clear();
  // The first script takes a few numbers, so that a later one's collide.
  for (uint16_t n : {0, 1, 2, 3, 100, 16382}) {
    ids->macro(n);
    ids->sample(n);
    ids->table(n);
  }
  const int script = data[0] % voconv::kMaxScripts;
  ids->startScript(script);

  std::vector<uint8_t> bytes;
  std::string error;
  check(voconv::readProjectFile(macroPath, bytes, error));
  const std::vector<uint8_t> original = bytes;
  try {
    voconv::renumberMacroOperands(bytes, script, table, *ids);
  } catch (const voconv::FatalError&) {
    return 0;
  }
  check(bytes.size() == original.size());
  for (size_t step = 0; step < bytes.size(); step += voconv::kMacroStepSize) {
    if (step + voconv::kMacroStepSize > bytes.size()) {
      check(std::equal(bytes.begin() + step, bytes.end(), original.begin() + step));
      break;
    }
    const std::vector<bool> writable = writableBytes(table, original[step]);
    for (size_t b = 0; b < voconv::kMacroStepSize; ++b) {
      if (!writable[b]) check(bytes[step + b] == original[step + b]);
    }
  }
  return 0;
}
