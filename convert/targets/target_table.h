// The targets the converter writes, one descriptor each: how `-t` names it,
// what the run does for it before the writing step, how its writer builds
// it, and a factory of that writer. The option reader, the run driver, the
// song tool runs and the writers know targets only through this table.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "convert/compile/compile_target.h"

namespace voconv {

class Conversion;
struct RunSettings;

// One run's writer: writes the target's files after the include header,
// printing as it goes and reporting failures to the conversion. What one
// step hands to the next is held in its members.
class TargetWriter {
 public:
  virtual ~TargetWriter() = default;
  virtual void write(Conversion& c) = 0;

 protected:
  // A step's result; a failed step has printed its messages and is reported.
  static bool stepDone(Conversion& c, bool ok);
};

struct TargetDescriptor {
  std::string_view spelling = {};  // the -t value, in any case; empty for the default target
  // -t written exactly so sets the (sticky) lower-case name flag.
  std::string_view lowerCaseSpelling = {};
  std::string_view announcement = {};     // printed when -t selects it
  std::string_view announcement115 = {};  // release 1.15's line for it; empty when 1.15 does not know it
  bool setsAssemblerInclude = false;      // -t sets the (sticky) assembler include flag
  bool setsSlaveRom = false;              // -t sets the (sticky) slave ROM flag
  // The descriptor that stands for this one while the slave ROM flag is set.
  std::string_view withSlaveRom = {};
  bool readsMacroDefinitions = true;  // before the first script
  // mid2trk's target option; empty: "-N" or "-P" by the byte order of -b.
  std::string_view songOption = {};
  bool makesSongs = true;             // starts a song tool per MIDI setup
  bool songsInPrivateFolder = false;  // consumed by the writer, not outputs
  // The command set the handheld writers compile macros into (and convert
  // samples for); none for the targets that copy macros as they are.
  std::optional<CompileTarget> compileTarget = {};
  std::function<std::unique_ptr<TargetWriter>(const TargetDescriptor&)> makeWriter;

  // This target's writer for one run.
  std::unique_ptr<TargetWriter> writer() const { return makeWriter(*this); }
};

class TargetTable {
 public:
  explicit TargetTable(std::vector<TargetDescriptor> targets) : targets_(std::move(targets)) {}

  // The target `-t` names (any case), or null.
  const TargetDescriptor* find(std::string_view spelling) const;
  // The target written when -t names none.
  const TargetDescriptor& defaultTarget() const;
  // The target a run with these settings writes (the last -t, as the sticky
  // slave ROM flag turns it).
  const TargetDescriptor& runTarget(const TargetDescriptor* selected, bool slaveRom) const;
  std::vector<TargetDescriptor>& descriptors() { return targets_; }

 private:
  std::vector<TargetDescriptor> targets_;
};

// The targets built into this program.
const TargetTable& builtInTargets();

}  // namespace voconv
