#include "convert/targets/target_table.h"

#include "common/paths.h"
#include "convert/conversion.h"
#include "convert/targets/handheld/handheld_writers.h"
#include "convert/targets/n64_writer.h"

namespace voconv {

bool TargetWriter::stepDone(Conversion& c, bool ok) {
  if (!ok) c.reportFailure();
  return ok;
}

const TargetDescriptor* TargetTable::find(std::string_view spelling) const {
  for (const TargetDescriptor& d : targets_) {
    if (!d.spelling.empty() && common::equalsIgnoringCase(spelling, d.spelling)) return &d;
  }
  return nullptr;
}

const TargetDescriptor& TargetTable::defaultTarget() const {
  for (const TargetDescriptor& d : targets_) {
    if (d.spelling.empty()) return d;
  }
  return targets_.front();
}

const TargetDescriptor& TargetTable::runTarget(const TargetDescriptor* selected, bool slaveRom) const {
  if (!selected) return defaultTarget();
  if (slaveRom && !selected->withSlaveRom.empty()) {
    if (const TargetDescriptor* slave = find(selected->withSlaveRom)) return *slave;
  }
  return *selected;
}

namespace {

std::vector<TargetDescriptor> targets() {
  std::vector<TargetDescriptor> t;
  t.push_back(
      {.spelling = "", .makeWriter = [](const TargetDescriptor&) { return std::make_unique<N64Writer>(false); }});
  t.push_back({.spelling = "N64",
               .announcement = "Target is set to N64.\n",
               .announcement115 = "Target is set to N64.\n",
               .makeWriter = [](const TargetDescriptor&) { return std::make_unique<N64Writer>(true); }});
  t.push_back({.spelling = "GB",
               .lowerCaseSpelling = "gb",
               .announcement = "Target is set to GameBoy.\n",
               .announcement115 = "Target is set to GameBoy.\n",
               .setsAssemblerInclude = true,
               .withSlaveRom = "GBSLAVE",
               .readsMacroDefinitions = false,
               .songOption = "-G",
               .songsInPrivateFolder = true,
               .compileTarget = CompileTarget::GameBoy,
               .makeWriter = [](const TargetDescriptor& d) {
                 return std::make_unique<GameBoyWriter>(d, GameBoyVariant::Cartridge);
               }});
  t.push_back({.spelling = "GBSLAVE",
               .announcement = "Target is set to Game Boy.\n",
               .announcement115 = "Target is set to GameBoy.\n",
               .setsAssemblerInclude = true,
               .setsSlaveRom = true,
               .withSlaveRom = "GBSLAVE",
               .readsMacroDefinitions = false,
               .songOption = "-G",
               .makesSongs = false,
               .compileTarget = CompileTarget::GameBoy,
               .makeWriter = [](const TargetDescriptor& d) {
                 return std::make_unique<GameBoyWriter>(d, GameBoyVariant::SlaveRom);
               }});
  t.push_back({.spelling = "AGB",
               .announcement = "Target is set to Game Boy Advance.\n",
               .readsMacroDefinitions = false,
               .songOption = "-A",
               .songsInPrivateFolder = true,
               .compileTarget = CompileTarget::Advance,
               .makeWriter = [](const TargetDescriptor& d) { return std::make_unique<AdvanceWriter>(d); }});
  return t;
}

}  // namespace

const TargetTable& builtInTargets() {
  static const TargetTable table(targets());
  return table;
}

}  // namespace voconv
