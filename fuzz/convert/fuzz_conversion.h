// A conversion for the export script fuzzers: output into a string, outside
// tools replaced by a stand-in that succeeds, files read from a fresh folder.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "convert/conversion.h"

namespace fuzzing {

inline const std::filesystem::path& fuzzFolder(const char* name) {
  static const std::filesystem::path dir = [name] {
    auto d = std::filesystem::temp_directory_path() / (std::string(name) + "-" + std::to_string(::getpid()));
    std::filesystem::create_directories(d);
    std::filesystem::current_path(d);
    return d;
  }();
  return dir;
}

struct FuzzConversion {
  std::ostringstream text;
  common::Output out{text};
  voconv::Conversion conversion{out, voconv::currentRelease()};
  int toolRuns = 0;

  FuzzConversion() {
    conversion.ids.clear();
    conversion.settings.target = voconv::Target::Nintendo64;
    conversion.runTool = [this](const std::vector<std::string>&) {
      ++toolRuns;
      return voconv::ToolResult{0, {}};
    };
  }
};

}  // namespace fuzzing
