// What differs between the releases of the converter built from these
// sources: the current one and release 1.15. Chosen once in main.
#pragma once

#include <string_view>

namespace voconv {

struct ReleaseProfile {
  std::string_view version;        // in the banner and the include file header
  std::string_view banner;         // first lines printed by every run
  std::string_view targetUsage;    // the usage lines of -t
  bool knowsGameBoyAdvance;        // "AGB" is a target
  bool separateSlaveRomMessage;    // GBSLAVE prints "Target is set to Game Boy."
  bool unknownTargetIsFatal;       // else a message and the target unchanged
  bool announcesTargetConversion;  // handhelds: "Converting to target format..."
};

// The current release.
const ReleaseProfile& currentRelease();
// Release 1.15: no Game Boy Advance target.
const ReleaseProfile& release115();

}  // namespace voconv
