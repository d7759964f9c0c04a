// The settings of one converter run, taken from the command line.
#pragma once

#include <cstdint>

namespace voconv {

// Target values as the converter numbers them; the default target is written
// like the Nintendo 64 one, but converts no sample data.
enum class Target : uint8_t { Default = 0, Nintendo64 = 2, GameBoy = 3, GameBoyAdvance = 4 };

struct RunSettings {
  bool verbose = false;                // -v
  bool showStatistics = false;         // -vs
  bool bigEndian = false;              // -b
  bool assemblerInclude = false;       // -a; -t GB or GBSLAVE
  bool defaultSampleTypeOnly = false;  // -d
  bool convertSamples = true;          // -s clears it
  Target target = Target::Default;     // -t
  bool lowerCaseHandheldName = false;  // -t written exactly "gb"
  bool slaveRom = false;               // -t GBSLAVE

  bool handheld() const { return target == Target::GameBoy || target == Target::GameBoyAdvance; }
};

}  // namespace voconv
