// A conversion for the export script fuzzers: output into a string, outside
// tools replaced by a stand-in that succeeds, files read from a fresh folder.
// Each input gets a conversion of its own, so nothing carries over from one
// input to the next.
#pragma once

#include <filesystem>
#include <sstream>
#include <string>

#include "convert/conversion.h"
#include "convert/targets/target_table.h"
#include "fuzz/temp_folder.h"

namespace fuzzing {

// Makes a fresh folder the current one for the whole process; it is removed
// when the process ends.
inline const std::filesystem::path& fuzzFolder(const char* name) {
  static const TempFolder folder(name, true);
  return folder.path();
}

struct FuzzConversion {
  std::ostringstream text;
  common::Output out{text};
  voconv::Conversion conversion{out, voconv::currentRelease()};
  int toolRuns = 0;

  FuzzConversion() {
    conversion.ids.clear();
    conversion.settings.target = voconv::builtInTargets().find("N64");
    conversion.runTool = [this](const std::vector<std::string>&) {
      ++toolRuns;
      return voconv::ToolResult{0, {}};
    };
  }
};

}  // namespace fuzzing
