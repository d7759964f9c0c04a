// What differs between the releases of mid2trk that are still in use. Each
// executable picks one profile in main; the code reads it from the run.
#pragma once

#include <string_view>

namespace midisong {

// Where loop markers belong.
enum class LoopScope {
  PerChannel,  // a loop section per MIDI channel (several only for Dolphin)
  WholeFile,   // one section for the whole file, markers on any channel
};

// Meaning of the Nintendo 64 header word at offset 16.
enum class N64TempoWord {
  BpmWithLoopFlag,  // bits 0-23 BPM, bit 31 set for several loop sections
  PlainBpm,         // the BPM as a plain 32-bit value
};

struct ReleaseProfile {
  std::string_view banner;         // printed first, ends with its empty line
  std::string_view options;        // the target letters it knows, upper case
  std::string_view usage;          // replaces the table's usage text
  std::string_view tooManyTracks;  // replaces the table's track-count error
  LoopScope loopScope;
  N64TempoWord n64TempoWord;
};

extern const ReleaseProfile kCurrentRelease;
extern const ReleaseProfile kRelease129g;

}  // namespace midisong
