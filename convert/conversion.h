// The run context of one conversion: the settings, tables and lists that the
// whole run reads and fills, created in main (or by a test) and passed by
// reference to every phase.
#pragma once

#include <ctime>
#include <filesystem>
#include <memory>

#include "common/byte_order.h"
#include "common/output.h"
#include "convert/foundation/base_paths.h"
#include "convert/foundation/id_tables.h"
#include "convert/include_file.h"
#include "convert/macros/macro_definitions.h"
#include "convert/project/project_description.h"
#include "convert/project/project_model.h"
#include "convert/project/target_object_list.h"
#include "convert/release_profile.h"
#include "convert/run_settings.h"
#include "convert/tools/midi_setups.h"
#include "convert/tools/tool_run.h"

namespace voconv {

class Conversion {
 public:
  Conversion(common::Output& output, const ReleaseProfile& release);
  Conversion(const Conversion&) = delete;
  Conversion& operator=(const Conversion&) = delete;

  common::Output& out;
  const ReleaseProfile& release;
  std::string program;  // the running program's name, which temporary files carry
  RunSettings settings;
  BasePaths basePaths;
  IdTables ids;
  ProjectDescription description;
  ProjectModel model;
  CommandTable commands;  // from the macro definition file
  MidiSetupRegistry midiSetups;
  TargetObjectList targetObjects;        // filled by the handheld writers
  std::unique_ptr<IncludeFile> include;  // opened once the inputs are read, open to the end of the run
  RunDate now;                           // the run's date, as the include files show it

  // How outside tools are started (runTool beside `toolFolder`, then PATH).
  std::filesystem::path toolFolder;
  ToolRunner runTool;

  // Every phase that reports a failure by message marks it here, so that the
  // run ends with an exit code that tells the truth.
  void reportFailure() { failed_ = true; }
  bool failed() const { return failed_; }

  bool verbose() const { return settings.verbose; }
  common::Endian endian() const { return settings.bigEndian ? common::Endian::Big : common::Endian::Little; }

  // Prints only in verbose mode.
  void verbosePrint(const char* fmt, ...) COMMON_PRINTF_FORMAT(2, 3);

 private:
  bool failed_ = false;
};

}  // namespace voconv
