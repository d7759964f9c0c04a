#include "release_profile.h"

namespace voconv {

const ReleaseProfile& currentRelease() {
  static constexpr ReleaseProfile kProfile{
      "V1.23b",
      "VOConv - Vocta sound data converter V1.23b\n\n",
      " -t <sys>   Set the target system. This will not set the correct endian\n"
      "            mode. Just data formats are switched to the given platform.\n"
      "            sys= N64, GB, AGB\n",
      true,
      true,
      true,
      true,
  };
  return kProfile;
}

const ReleaseProfile& release115() {
  static constexpr ReleaseProfile kProfile{
      "V1.15",
      "VOConv - Vocta sound data converter V1.15\n\n",
      " -t <sys>   Set the target system. This will not set the correct\n"
      "            endian mode. Just data formats are switched to the given\n"
      "            platform. (N64, GB)\n",
      false,
      false,
      false,
      false,
  };
  return kProfile;
}

}  // namespace voconv
