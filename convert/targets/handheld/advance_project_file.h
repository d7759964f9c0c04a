// The Game Boy Advance project file, every value little-endian and every
// offset counted from the file start:
//
//   header   u32 macro table (32), u32 table directory, u32 effect area twice,
//            u32 0, u32 0, u32 song area, u32 sample area
//   macros   u32 per macro: its record (u8 voice, u8 voice flags, u8 samplemap
//            flag, u8 0, the compiled macro, padding to 4)
//   tables   u32 per table: its 8-byte envelope record
//   effects  u32 count, 8 bytes per effect of all groups
//   songs    u32 count, u32 per setup: its preset block and song, padded to 4
//   samples  u32 per sample: u32 data bytes, u32 loop start (0xFFFFFFFF: no
//            loop), u16 rate, u8 key, u8 format, u32 0, the data, padding to 4
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "common/output.h"
#include "convert/targets/handheld/handheld_project.h"

namespace voconv {

constexpr uint32_t kAdvanceHeaderBytes = 32;
constexpr uint32_t kAdvanceMacroAttributeBytes = 4;
constexpr uint32_t kAdvanceEffectBytes = 8;
constexpr uint32_t kAdvancePresetBytes = kMidiChannels + 2 * kPagePrograms * 4;  // 1040
constexpr uint32_t kAdvanceSampleHeaderBytes = 16;

// Where the areas and records lie: computed before anything is written.
struct AdvanceLayout {
  uint32_t tableDirectory = 0;
  uint32_t effectArea = 0;
  uint32_t songArea = 0;
  uint32_t sampleArea = 0;
  uint32_t size = 0;
  std::vector<uint32_t> macros;  // record offsets
  std::vector<uint32_t> tables;
  std::vector<uint32_t> setups;
  std::vector<uint32_t> samples;
};
AdvanceLayout advanceLayout(const HandheldProject& project);

// The preset block of one setup (1040 bytes): the 16 channels' programs, then
// 128 normal-page and 128 drum-page entries of u16 macro index, u8 priority,
// u8 maximum voices (zeros where the page is empty). Prints the error and
// returns nothing when a page entry names no macro of the project.
std::optional<std::vector<uint8_t>> buildAdvancePresetBlock(const HandheldSetup& setup, common::Output& out);

// The whole file, with the step references resolved: each holds the distance
// from its own step to the target step.
std::optional<std::vector<uint8_t>> emitAdvanceProject(const HandheldProject& project, common::Output& out);

}  // namespace voconv
