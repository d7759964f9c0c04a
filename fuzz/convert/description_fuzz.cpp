// Feeds arbitrary text to the project description reader and checks that a
// successful read built both output paths.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "convert/project/project_description.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::ostringstream text;
  common::Output out(text);
  voconv::ProjectDescription d;
  const bool ok =
      voconv::parseProjectDescription(std::string(reinterpret_cast<const char*>(data), size), "fuzz.txt", d, out, true);
  if (ok && (d.outputBasePath.empty() || d.includeFilePath.empty())) std::abort();
  if (!ok && text.str().empty()) std::abort();  // a failure always says why
  return 0;
}
