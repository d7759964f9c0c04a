// A conversion for tests: output into a string, outside tools recorded
// instead of started (unless a test puts the real runner back).
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "convert/conversion.h"
#include "convert/project/script_reading.h"

namespace voconv::testing {

struct TestConversion {
  std::ostringstream text;
  common::Output out{text};
  Conversion conversion;
  std::vector<std::vector<std::string>> toolRuns;
  int toolExitCode = 0;

  explicit TestConversion(const ReleaseProfile& release = currentRelease()) : conversion(out, release) {
    conversion.ids.clear();
    conversion.runTool = [this](const std::vector<std::string>& argv) {
      toolRuns.push_back(argv);
      return ToolResult{toolExitCode, toolExitCode ? "tool said no\n" : ""};
    };
  }
  // Reads script text through every phase into the conversion's project.
  bool readScript(const std::string& text, const std::string& name = "s.txt", int scriptIndex = 0) {
    SongRuns songs(songToolSettings(conversion), conversion.basePaths, conversion.runTool, out, conversion.verbose());
    const bool read = readExportScriptText(conversion, songs, text, name, scriptIndex);
    if (songs.failed()) conversion.reportFailure();
    return read;
  }
  Conversion* operator->() { return &conversion; }
  std::string output() const { return text.str(); }
};

}  // namespace voconv::testing
