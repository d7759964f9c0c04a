// The Game Boy (cartridge and slave ROM) and Game Boy Advance writers. The
// project step loads, converts, compiles and lays out the project; the data
// step writes the files and then the include lines.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "convert/targets/handheld/gb_layout.h"
#include "convert/targets/target_writers.h"

namespace voconv {

class Conversion;

// What the project step hands to the data step: the laid-out data and the
// include lines, which are written once the files are in place.
struct GameBoyRun {
  std::optional<GameBoyLayout> layout;
  std::string symbols;
};
bool writeGameBoyProject(Conversion& c, GameBoyRun& run);
bool writeGameBoyData(Conversion& c, GameBoyRun& run);

struct AdvanceRun {
  std::optional<std::vector<uint8_t>> file;
  std::string symbols;
};
bool writeAdvanceProject(Conversion& c, AdvanceRun& run);
bool writeAdvanceData(Conversion& c, AdvanceRun& run);

// Puts both writers' steps into `writers`.
void addHandheldWriters(TargetWriters& writers);

}  // namespace voconv
