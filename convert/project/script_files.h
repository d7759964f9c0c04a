// The loading of the keymap and layer files an export script names: read
// whole, before the merge renumbers the object IDs they hold.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <vector>

#include "convert/foundation/base_paths.h"
#include "convert/project/script_model.h"

namespace voconv {

struct LoadedFile {
  std::filesystem::path path;  // as found through the base paths
  bool read = false;           // false: missing, unreadable or not a regular file
  std::vector<uint8_t> bytes;
};

// The files of a script's keymap and layer steps, by step index.
struct ScriptFiles {
  std::map<size_t, LoadedFile> byStep;
};

// Reads the file of each keymap and layer step of `script` (up to a failure
// step) through the project base paths.
ScriptFiles loadScriptFiles(const ScriptModel& script, const BasePaths& basePaths);

}  // namespace voconv
