// The loop both compilers share: translate each source step by its row,
// record the step offsets, stop at END or when the output grows too long.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "convert/compile/macro_step.h"

namespace voconv {

constexpr int kNoOpcode = -1;  // the row writes byte 0 itself

// One row of a compiler's table: a source command, its target opcode, the
// length of the output step and how the other bytes are made.
struct StepRow {
  uint8_t command;
  int opcode;
  uint8_t length;
  void (*emit)(MacroStep&);
};

using StepRows = std::array<const StepRow*, 256>;

// The rows by command number; commands without a row emit nothing.
template <std::size_t N>
StepRows rowsByCommand(const std::array<StepRow, N>& rows) {
  StepRows byCommand{};
  for (const StepRow& row : rows) byCommand[row.command] = &row;
  return byCommand;
}

enum class TooLongMessage { Printed, Silent };

// Compiles the steps of `source` into macro `macroIndex` up to and including
// END. False when the macro failed with a message (or, for an output that
// grows too long, silently when asked); an unknown ID only marks `state`.
bool walkMacro(MacroCompilation& compilation, int macroIndex, std::span<const uint8_t> source, const StepRows& rows,
               TooLongMessage tooLong, WalkState& state, common::Output& out);

}  // namespace voconv
