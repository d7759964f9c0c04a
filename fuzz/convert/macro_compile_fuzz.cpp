// Compiles arbitrary bytes as two macro files for the Game Boy Advance and
// the Game Boy, lays the compiled macros out and applies the relocations;
// checks that every compiled macro stays within its limits and that its
// step offsets and relocation patches lie inside its bytes.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "convert/compile/macro_compilation.h"
#include "convert/foundation/fatal_error.h"

namespace {

using namespace voconv;

void check(bool condition) {
  if (!condition) std::abort();
}

void checkMacros(const MacroCompilation& mc) {
  const CompileLimits& limits = limitsFor(mc.target());
  for (const CompiledMacro& m : mc.macros()) {
    check(m.endIndex >= 0 && std::size_t(m.endIndex) + 1 == m.stepOffsets.size());
    check(m.stepOffsets.size() <= limits.stepOffsets && m.bytes.size() < limits.outputStop);
    for (uint16_t offset : m.stepOffsets) check(offset <= m.bytes.size() + 2);
  }
  for (const Relocation& r : mc.relocations()) {
    const std::size_t width = mc.target() == CompileTarget::Advance ? 4 : 2;
    check(r.patch + width <= mc.macros()[std::size_t(r.macro)].bytes.size());
  }
}

// Advance: each macro behind its four attribute bytes.
void applyAdvance(const MacroCompilation& mc, common::Output& out) {
  std::vector<uint32_t> offsets;
  std::vector<uint8_t> file;
  for (const CompiledMacro& m : mc.macros()) {
    file.insert(file.end(), 4, 0);
    offsets.push_back(uint32_t(file.size()));
    file.insert(file.end(), m.bytes.begin(), m.bytes.end());
  }
  applyAdvanceRelocations(mc, offsets, file, out);
}

// Game Boy: the offset table, then the macros back to back.
void applyGameBoy(const MacroCompilation& mc, common::Output& out) {
  std::vector<uint16_t> starts;
  std::vector<uint8_t> area(2 * mc.macros().size(), 0);
  for (const CompiledMacro& m : mc.macros()) {
    starts.push_back(uint16_t(area.size()));
    area.insert(area.end(), m.bytes.begin(), m.bytes.end());
  }
  applyGameBoyRelocations(mc, starts, area, out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte says where the first macro file ends.
  const std::size_t split = std::min<std::size_t>(size - 1, std::size_t(data[0]) * 8);
  TargetObjectList objects;
  objects.add(TargetObjectType::Sample, 7, 0);
  objects.add(TargetObjectType::Table, 0xC005, 0);
  objects.add(TargetObjectType::Macro, 0x20, 0).payload.assign(data + 1 + split, data + size);
  objects.add(TargetObjectType::Macro, 1, 0).payload.assign(data + 1, data + 1 + split);
  std::ostringstream text;
  common::Output out(text);
  for (CompileTarget target : {CompileTarget::Advance, CompileTarget::GameBoy}) {
    MacroCompilation mc(objects, target);
    if (!mc.compileAll(out)) continue;
    checkMacros(mc);
    if (target == CompileTarget::Advance) {
      applyAdvance(mc, out);
    } else {
      applyGameBoy(mc, out);
    }
  }
  return 0;
}
