#include "convert/compile/relocation.h"

#include <algorithm>

#include "common/byte_order.h"
#include "convert/compile/macro_compilation.h"

namespace voconv {
namespace {

constexpr const char* kIllegalTarget = "**** ERROR: Illegal macro target step reference found! Cannot convert!\n";

// The target step's offset inside its macro; false when the step lies past
// the macro's END (or a macro is not in `placed`).
bool targetStepOffset(const MacroCompilation& compiled, const Relocation& r, std::size_t placed, uint32_t& offset) {
  const std::vector<CompiledMacro>& macros = compiled.macros();
  if (std::size_t(r.macro) >= placed || std::size_t(r.targetMacro) >= placed) return false;
  const CompiledMacro& target = macros[std::size_t(r.targetMacro)];
  if (int(r.targetStep) > target.endIndex || r.targetStep >= target.stepOffsets.size()) return false;
  offset = target.stepOffsets[r.targetStep];
  return true;
}

// A layout whose offsets put a patch outside its bytes cannot be patched.
bool patchOutside(common::Output& out) {
  out.print("%s", kIllegalTarget);
  return false;
}

// Applies `patch` to each record, newest first.
template <typename Patch>
bool applyAll(const MacroCompilation& compiled, std::size_t placed, common::Output& out, Patch patch) {
  const std::vector<Relocation>& list = compiled.relocations();
  for (auto r = list.rbegin(); r != list.rend(); ++r) {
    uint32_t stepOffset = 0;
    if (!targetStepOffset(compiled, *r, std::min(placed, compiled.macros().size()), stepOffset)) {
      out.print("%s", kIllegalTarget);
      return false;
    }
    if (!patch(*r, stepOffset)) return false;
  }
  return true;
}

}  // namespace

bool applyAdvanceRelocations(const MacroCompilation& compiled, std::span<const uint32_t> macroOffsets,
                             std::span<uint8_t> file, common::Output& out) {
  return applyAll(compiled, macroOffsets.size(), out, [&](const Relocation& r, uint32_t stepOffset) {
    if (r.width == kRelocation8Bit || r.width == kRelocation16Bit) {
      out.print("*** WARNING: Unsupported %d bit relocation!\n", 8 * r.width);
      return true;
    }
    if (r.width != kRelocation32Bit) {
      out.print("*** ERROR: Unhandled macro relocation code!\n");
      return false;
    }
    const uint64_t at = uint64_t(macroOffsets[std::size_t(r.macro)]) + r.patch;
    if (at + 4 > file.size()) return patchOutside(out);
    const uint32_t target = macroOffsets[std::size_t(r.targetMacro)] + stepOffset;
    const uint32_t referencing = uint32_t(at) - r.stepDistance;
    common::storeU32(file.data() + at, target - referencing, common::Endian::Little);
    return true;
  });
}

bool applyGameBoyRelocations(const MacroCompilation& compiled, std::span<const uint16_t> macroStarts,
                             std::span<uint8_t> macroArea, common::Output& out) {
  return applyAll(compiled, macroStarts.size(), out, [&](const Relocation& r, uint32_t stepOffset) {
    const uint64_t at = uint64_t(macroStarts[std::size_t(r.macro)]) + r.patch;
    if (at + 2 > macroArea.size()) return patchOutside(out);
    const uint16_t target = uint16_t(macroStarts[std::size_t(r.targetMacro)] + stepOffset);
    common::storeU16(macroArea.data() + at, target, common::Endian::Big);
    return true;
  });
}

}  // namespace voconv
