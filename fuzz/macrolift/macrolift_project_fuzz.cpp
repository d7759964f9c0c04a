// Feeds arbitrary text to the project file line update and checks that an
// unchanged text comes back byte for byte, that a second update changes
// nothing, and that the number of lines stays the same.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "macrolift/project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static macrolift::ProjectFileUpdater updater;
  if (!updater.ready()) std::abort();
  const std::string text(reinterpret_cast<const char*>(data), size);
  bool changed = false;
  const std::string updated = updater.updateText(text, changed);
  if (!changed && updated != text) std::abort();
  bool changedAgain = true;
  if (updater.updateText(updated, changedAgain) != updated || changedAgain) std::abort();
  // A changed last line without a line end gets one, nothing else adds or removes lines.
  const auto lines = [](const std::string& s) {
    return std::count(s.begin(), s.end(), '\n') + ((s.empty() || s.back() == '\n') ? 0 : 1);
  };
  if (lines(updated) != lines(text)) std::abort();
  return 0;
}
