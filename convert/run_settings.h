// The settings of one converter run, taken from the command line.
#pragma once

namespace voconv {

struct TargetDescriptor;

// The flags that -t sets stay set when a later -t names another target.
struct RunSettings {
  bool verbose = false;                // -v
  bool showStatistics = false;         // -vs
  bool bigEndian = false;              // -b
  bool assemblerInclude = false;       // -a; -t GB or GBSLAVE
  bool defaultSampleTypeOnly = false;  // -d
  bool convertSamples = true;          // -s clears it
  // -t; once the options are read, the target the run writes (null: the
  // default target).
  const TargetDescriptor* target = nullptr;
  bool lowerCaseHandheldName = false;  // -t written as the target's lower-case spelling ("gb")
  bool slaveRom = false;               // -t GBSLAVE
};

}  // namespace voconv
