// The Game Boy (cartridge and slave ROM) and Game Boy Advance writers. The
// project step loads, converts, compiles and lays out the project and writes
// its include lines; the data step writes the files.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "convert/targets/handheld/gb_layout.h"
#include "convert/targets/target_writers.h"

namespace voconv {

class Conversion;

struct GameBoyRun {
  std::optional<GameBoyLayout> layout;
};
bool writeGameBoyProject(Conversion& c, GameBoyRun& run);
bool writeGameBoyData(Conversion& c, GameBoyRun& run);

struct AdvanceRun {
  std::optional<std::vector<uint8_t>> file;
};
bool writeAdvanceProject(Conversion& c, AdvanceRun& run);
bool writeAdvanceData(Conversion& c, AdvanceRun& run);

// Puts both writers' steps into `writers`.
void addHandheldWriters(TargetWriters& writers);

}  // namespace voconv
