#include "convert/compile/step_walk.h"

namespace voconv {
namespace {

constexpr uint8_t kEndCommand = 0;

bool tooLong(TooLongMessage message, common::Output& out) {
  if (message == TooLongMessage::Printed) out.print("*** ERROR: Binary macro representation too long!\n");
  return false;
}

}  // namespace

bool walkMacro(MacroCompilation& compilation, int macroIndex, std::span<const uint8_t> source, const StepRows& rows,
               TooLongMessage message, WalkState& state, common::Output& out) {
  const CompileLimits& limits = limitsFor(compilation.target());
  CompiledMacro& macro = compilation.macro(macroIndex);
  const std::size_t steps = source.size() / kSourceStepBytes;
  for (std::size_t n = 0;; ++n) {
    if (n >= steps) {
      out.print("*** ERROR: Macro ends without an END step!\n");
      return false;
    }
    if (n >= limits.stepOffsets) return tooLong(message, out);
    const uint8_t* step = source.data() + n * kSourceStepBytes;
    const std::size_t start = macro.bytes.size();
    macro.stepOffsets.push_back(uint16_t(start));
    if (const StepRow* row = rows[step[0]]) {
      macro.bytes.resize(start + row->length, 0);
      if (row->opcode != kNoOpcode) macro.bytes[start] = uint8_t(row->opcode);
      MacroStep context(compilation, macroIndex, int(n), step, start, state, out);
      row->emit(context);
      if (state.stopped) return false;
    }
    if (macro.bytes.size() >= limits.outputStop) return tooLong(message, out);
    if (step[0] == kEndCommand) {
      macro.endIndex = int(n);
      return true;
    }
  }
}

}  // namespace voconv
