#include "convert/compile/relocation.h"

#include "convert/compile/macro_compilation.h"

namespace voconv {

bool applyAdvanceRelocations(const MacroCompilation&, std::span<const uint32_t>, std::span<uint8_t>,
                             common::Output&) {
  return false;
}

bool applyGameBoyRelocations(const MacroCompilation&, std::span<const uint16_t>, std::span<uint8_t>,
                             common::Output&) {
  return false;
}

}  // namespace voconv
