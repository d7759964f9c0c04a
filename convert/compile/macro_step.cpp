#include "convert/compile/macro_step.h"

#include <cassert>

namespace voconv {
namespace {

// Advance steps hold little-endian values, Game Boy steps big-endian ones.
common::Endian wordOrder(CompileTarget target) {
  return target == CompileTarget::Advance ? common::Endian::Little : common::Endian::Big;
}

}  // namespace

MacroStep::MacroStep(MacroCompilation& compilation, int macroIndex, int number, const uint8_t* source,
                     std::size_t outputStart, WalkState& state, common::Output& out)
    : compilation_(compilation),
      macroIndex_(macroIndex),
      number_(number),
      source_(source),
      outputStart_(outputStart),
      state_(state),
      out_(out) {}

void MacroStep::b(int n, uint8_t v) {
  assert(outputStart_ + std::size_t(n) < macro().bytes.size());
  macro().bytes[outputStart_ + std::size_t(n)] = v;
}

void MacroStep::w16(int n, uint16_t v) {
  assert(outputStart_ + std::size_t(n) + 2 <= macro().bytes.size());
  common::storeU16(macro().bytes.data() + outputStart_ + std::size_t(n), v, wordOrder(compilation_.target()));
}

void MacroStep::w32(int n, uint32_t v) {
  assert(outputStart_ + std::size_t(n) + 4 <= macro().bytes.size());
  common::storeU32(macro().bytes.data() + outputStart_ + std::size_t(n), v, wordOrder(compilation_.target()));
}

uint16_t MacroStep::found(int index) {
  if (index >= 0) return uint16_t(index);
  state_.lookupFailed = true;
  return 0;
}

uint16_t MacroStep::macroIndex(int n) { return found(compilation_.index().macroIndex(s16(n))); }
uint16_t MacroStep::tableIndex(int n) { return found(compilation_.index().tableIndex(s16(n))); }
uint16_t MacroStep::sampleIndex(int n) { return found(compilation_.index().sampleIndex(s16(n))); }

uint16_t MacroStep::sampleIndexOrNone(int n, uint16_t none) { return s16(n) == 0 ? none : sampleIndex(n); }

void MacroStep::stepReference(int patch) {
  const int target = compilation_.index().macroIndex(s16(2));
  if (target < 0) {
    state_.lookupFailed = true;
    return;
  }
  Relocation r;
  r.macro = macroIndex_;
  r.patch = uint32_t(outputStart_) + uint32_t(patch);
  r.stepDistance = uint8_t(patch);
  r.targetMacro = target;
  r.targetStep = s16(4);
  r.width = compilation_.target() == CompileTarget::Advance ? kRelocation32Bit : kRelocation16Bit;
  compilation_.addRelocation(r);
}

bool MacroStep::loopDistance(uint16_t target, int& distance) {
  if (target >= number_) {
    fail("*** ERROR: Loop target step must be above the loop step itself!\n");
    return false;
  }
  const std::vector<uint16_t>& offsets = macro().stepOffsets;
  distance = int(offsets[target]) - int(offsets[std::size_t(number_)]);
  return true;
}

void MacroStep::fail(const char* message) {
  out_.print("%s", message);
  state_.stopped = true;
}

}  // namespace voconv
