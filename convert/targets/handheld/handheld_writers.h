// The Game Boy (cartridge and slave ROM) and Game Boy Advance writers. The
// project step loads, converts, compiles and lays out the project; the data
// step writes the files and then the include lines.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "convert/targets/handheld/gb_layout.h"
#include "convert/targets/handheld/handheld_gather.h"
#include "convert/targets/target_table.h"

namespace voconv {

class Conversion;

// What the project step hands to the data step: the laid-out data and the
// include lines, which are written once the files are in place.
struct GameBoyRun {
  std::optional<GameBoyLayout> layout;
  std::string symbols;
};
bool writeGameBoyProject(Conversion& c, GameBoyRun& run, const HandheldBuild& build, GameBoyVariant variant);
bool writeGameBoyData(Conversion& c, GameBoyRun& run, GameBoyVariant variant);

struct AdvanceRun {
  std::optional<std::vector<uint8_t>> file;
  std::string symbols;
};
bool writeAdvanceProject(Conversion& c, AdvanceRun& run, const HandheldBuild& build);
bool writeAdvanceData(Conversion& c, AdvanceRun& run);

// A handheld target's writer: the project step, then the data step, then
// "Done.". It builds what its target's descriptor names: the compile target
// and whether songs are part of the project.
class HandheldWriter : public TargetWriter {
 public:
  explicit HandheldWriter(const TargetDescriptor& target) : build_{target.compileTarget.value(), target.makesSongs} {}
  void write(Conversion& c) override;

 protected:
  virtual bool writeProject(Conversion& c) = 0;
  virtual bool writeData(Conversion& c) = 0;
  const HandheldBuild& build() const { return build_; }

 private:
  HandheldBuild build_;
};

// The Game Boy cartridge or the slave ROM.
class GameBoyWriter : public HandheldWriter {
 public:
  GameBoyWriter(const TargetDescriptor& target, GameBoyVariant variant) : HandheldWriter(target), variant_(variant) {}

 protected:
  bool writeProject(Conversion& c) override { return writeGameBoyProject(c, run_, build(), variant_); }
  bool writeData(Conversion& c) override { return writeGameBoyData(c, run_, variant_); }

 private:
  GameBoyVariant variant_;
  GameBoyRun run_;
};

class AdvanceWriter : public HandheldWriter {
 public:
  explicit AdvanceWriter(const TargetDescriptor& target) : HandheldWriter(target) {}

 protected:
  bool writeProject(Conversion& c) override { return writeAdvanceProject(c, run_, build()); }
  bool writeData(Conversion& c) override { return writeAdvanceData(c, run_); }

 private:
  AdvanceRun run_;
};

}  // namespace voconv
