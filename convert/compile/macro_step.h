// One source step as a compiler row sees it: the 8 source bytes, the output
// bytes of the step (already zero), and the lookups and step references the
// rows need. A row writes through this and nothing else.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/byte_order.h"
#include "convert/compile/macro_compilation.h"

namespace voconv {

constexpr std::size_t kSourceStepBytes = 8;

// What a macro's walk has seen so far, across its steps.
struct WalkState {
  bool lookupFailed = false;  // an unknown ID: the macro fails at its end
  bool stopped = false;       // an error was printed: the macro fails now
  int samplemapEntries = 0;
  int keymapEntries = 0;
};

class MacroStep {
 public:
  // The step's output bytes run from `outputStart` to the end of the
  // macro's bytes while its row writes them.
  MacroStep(MacroCompilation& compilation, int macroIndex, int number, const uint8_t* source, std::size_t outputStart,
            WalkState& state, common::Output& out);

  // Source bytes; multi-byte values are little-endian in the macro file.
  uint8_t s(int n) const { return source_[n]; }
  int8_t signedByte(int n) const { return int8_t(source_[n]); }
  uint16_t s16(int n) const { return common::loadU16(source_ + n, common::Endian::Little); }
  uint32_t s24(int n) const {
    return uint32_t(source_[n]) | uint32_t(source_[n + 1]) << 8 | uint32_t(source_[n + 2]) << 16;
  }

  // Output bytes; 16- and 32-bit values in the target's order.
  void b(int n, uint8_t v);
  void w16(int n, uint16_t v);
  void w32(int n, uint32_t v);

  // The index of the object whose ID is at s(n)..s(n+1); 0 and a failed
  // macro when the project has none.
  uint16_t macroIndex(int n);
  uint16_t tableIndex(int n);
  uint16_t sampleIndex(int n);
  // As sampleIndex, but `none` for ID 0.
  uint16_t sampleIndexOrNone(int n, uint16_t none);

  // Leaves the bytes from `patch` on 0 and records a relocation to the step
  // s(4)..s(5) of the macro whose ID is at s(2)..s(3).
  void stepReference(int patch);
  // Offset of an earlier step of this macro relative to this one; prints
  // the loop error and fails when `target` is not lower than this step.
  bool loopDistance(uint16_t target, int& distance);

  int number() const { return number_; }
  CompiledMacro& macro() { return compilation_.macro(macroIndex_); }
  int macroIndexInProject() const { return macroIndex_; }
  MacroCompilation& compilation() { return compilation_; }
  WalkState& state() { return state_; }
  // Prints `message` and fails the macro.
  void fail(const char* message);
  // Fails the macro without a message of its own.
  void failQuietly() { state_.stopped = true; }

 private:
  uint16_t found(int index);

  MacroCompilation& compilation_;
  int macroIndex_;
  int number_;
  const uint8_t* source_;
  std::size_t outputStart_;
  WalkState& state_;
  common::Output& out_;
};

}  // namespace voconv
