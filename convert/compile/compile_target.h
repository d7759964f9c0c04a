// The two handheld command sets that macros are compiled into, and the
// limits of each: how many objects of a kind get an index, and how large a
// compiled macro may grow.
#pragma once

#include <cstddef>

namespace voconv {

enum class CompileTarget {
  Advance,  // Game Boy Advance: steps of 2 to 10 bytes, 32-bit step references
  GameBoy,  // Game Boy and its slave ROM: steps of 1 to 6 bytes, 16-bit references
};

struct CompileLimits {
  std::size_t macros;       // further macros get index -1
  std::size_t tables;       // further tables get no index
  std::size_t samples;      // further samples get no index
  std::size_t songGroups;   // more is fatal
  std::size_t midiSetups;   // more is fatal
  std::size_t outputStop;   // a macro whose output reaches this size fails
  std::size_t stepOffsets;  // steps a macro may have
  std::size_t keymapEntries;
};

constexpr CompileLimits kAdvanceLimits{8192, 8192, 8192, 1024, 1024, 32760, 32768, 0};
constexpr CompileLimits kGameBoyLimits{256, 256, 256, 256, 256, 504, 512, 128};

constexpr const CompileLimits& limitsFor(CompileTarget target) {
  return target == CompileTarget::Advance ? kAdvanceLimits : kGameBoyLimits;
}

}  // namespace voconv
