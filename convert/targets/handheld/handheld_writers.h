// The Game Boy (cartridge and slave ROM) and Game Boy Advance writers. The
// project step loads, converts, compiles and lays out the project; the data
// step writes the files and then the include lines.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "convert/targets/handheld/gb_layout.h"
#include "convert/targets/target_table.h"

namespace voconv {

class Conversion;

// What the project step hands to the data step: the laid-out data and the
// include lines, which are written once the files are in place.
struct GameBoyRun {
  std::optional<GameBoyLayout> layout;
  std::string symbols;
};
bool writeGameBoyProject(Conversion& c, GameBoyRun& run, bool slaveRom);
bool writeGameBoyData(Conversion& c, GameBoyRun& run, bool slaveRom);

struct AdvanceRun {
  std::optional<std::vector<uint8_t>> file;
  std::string symbols;
};
bool writeAdvanceProject(Conversion& c, AdvanceRun& run);
bool writeAdvanceData(Conversion& c, AdvanceRun& run);

// A handheld target's writer: the project step, then the data step, then
// "Done.".
class HandheldWriter : public TargetWriter {
 public:
  void write(Conversion& c) override;

 protected:
  virtual bool writeProject(Conversion& c) = 0;
  virtual bool writeData(Conversion& c) = 0;
};

// The Game Boy cartridge or, with `slaveRom`, the slave ROM.
class GameBoyWriter : public HandheldWriter {
 public:
  explicit GameBoyWriter(bool slaveRom) : slaveRom_(slaveRom) {}

 protected:
  bool writeProject(Conversion& c) override { return writeGameBoyProject(c, run_, slaveRom_); }
  bool writeData(Conversion& c) override { return writeGameBoyData(c, run_, slaveRom_); }

 private:
  bool slaveRom_;
  GameBoyRun run_;
};

class AdvanceWriter : public HandheldWriter {
 protected:
  bool writeProject(Conversion& c) override { return writeAdvanceProject(c, run_); }
  bool writeData(Conversion& c) override { return writeAdvanceData(c, run_); }

 private:
  AdvanceRun run_;
};

}  // namespace voconv
