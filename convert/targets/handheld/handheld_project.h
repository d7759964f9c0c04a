// What the handheld layouts place: the project's compiled macros, envelope
// curves, effects, converted samples and MIDI setups, in index order, with
// every object reference already turned into an index. The writers gather it
// from the target object list; tests build it by hand.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/output.h"
#include "convert/project/project_model.h"
#include "convert/samples/handheld_sample_converter.h"

namespace voconv {

// A compiled macro. The attribute bytes are those of the Advance record.
struct HandheldMacro {
  std::vector<uint8_t> code;
  uint8_t voice = 255;  // none
  uint8_t voiceFlags = 0;
  uint8_t samplemap = 0;
};

// Resolves the compiled macros' step references once their places are
// known: `places[i]` is where macro i's first compiled byte lies in `bytes`
// (the Game Boy macro area, or the whole Advance project file). Prints its
// error and returns false when a reference cannot be resolved.
using ReferenceResolver =
    std::function<bool(std::span<const uint32_t> places, std::span<uint8_t> bytes, common::Output& out)>;

// An envelope curve: the first four 16-bit values of a table file.
struct EnvelopeCurve {
  uint16_t attackMs = 0;
  uint16_t decayMs = 0;
  uint16_t sustain = 0;
  uint16_t releaseMs = 0;
};

struct HandheldEffect {
  uint16_t id = 0;
  int macroIndex = -1;  // -1: the effect's macro is not in the project
  uint8_t priority = 0;
  uint8_t maxVoices = 0;
  uint8_t velocity = 0;
  uint8_t panning = 0;
  uint8_t key = 0;
  std::string name;  // as the export script has it
};

// One program of a song group's page.
struct PageSlot {
  bool used = false;    // the page names an object for this program
  int macroIndex = -1;  // -1: that object is no macro of the project
  uint8_t priority = 0;
  uint8_t maxVoices = 0;
};

constexpr size_t kPagePrograms = 128;

struct HandheldSetup {
  std::string name;
  std::array<uint8_t, kMidiChannels> programs{};
  std::array<PageSlot, kPagePrograms> normalPage{};
  std::array<PageSlot, kPagePrograms> drumPage{};
  std::vector<uint8_t> song;  // the song file, copied as it is
};

// The Game Boy keymap macro: its macro index and number of entries.
struct KeymapMacro {
  int macro = 0;
  uint8_t entries = 0;
};

struct HandheldProject {
  std::vector<HandheldMacro> macros;
  ReferenceResolver resolveReferences;  // none: the macros hold no step references
  std::vector<EnvelopeCurve> tables;
  std::vector<std::vector<HandheldEffect>> effectGroups;
  std::vector<convert::HandheldSample> samples;  // converted
  std::vector<HandheldSetup> setups;
  std::optional<KeymapMacro> keymap;  // Game Boy only
};

}  // namespace voconv
