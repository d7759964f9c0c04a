#include "conversion.h"

#include <cstdarg>

namespace voconv {

Conversion::Conversion(common::Output& output, const ReleaseProfile& releaseProfile)
    : out(output), release(releaseProfile) {
  runTool = [this](const std::vector<std::string>& argv) { return voconv::runTool(argv, toolFolder); };
}

void Conversion::verbosePrint(const char* fmt, ...) {
  if (!settings.verbose) return;
  va_list args;
  va_start(args, fmt);
  const std::string text = common::formatV(fmt, args);
  va_end(args);
  out.write(text);
}

}  // namespace voconv
