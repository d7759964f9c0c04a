// The Game Boy project part at image offset 0x300: a 15-byte header, then the
// macro area, the table area, the effect area, the sample directory and the
// MIDI setup table. Multi-byte fields are little-endian (the compiled macros
// keep their own big-endian step references); offsets in the header count
// from 0x300.
//
// Header: u16 table area, u16 effect area, u8 effect count, u16 sample
// directory, u8 sample count, u8 slave ROM sample count (else 0), u16 keymap
// macro (0 = none), u8 keymap entries, u16 MIDI setup table, u8 setup count.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "common/output.h"
#include "convert/targets/handheld/gb_image.h"
#include "convert/targets/handheld/handheld_project.h"

namespace voconv {

constexpr uint32_t kGameBoyHeaderBytes = 15;
constexpr uint32_t kGameBoyEffectBytes = 4;
constexpr uint32_t kGameBoyMidiEntryBytes = 3;
constexpr uint32_t sampleEntryBytes(GameBoyVariant v) { return v == GameBoyVariant::SlaveRom ? 10 : 6; }

// Sizes of the areas: computed first, so that every offset is known before
// anything is written. The slave ROM keeps only the room of the macro and
// table offset tables (zeros) and writes no effects and no MIDI setups.
struct GameBoyPartSizes {
  uint32_t macroArea = 0;
  uint32_t tableArea = 0;
  uint32_t effectArea = 0;
  uint32_t sampleDirectory = 0;
  uint32_t midiTable = 0;
  size_t effects = 0;
  size_t setups = 0;

  uint32_t total() const {
    return kGameBoyHeaderBytes + macroArea + tableArea + effectArea + sampleDirectory + midiTable;
  }
};
GameBoyPartSizes gameBoyPartSizes(const HandheldProject& project, GameBoyVariant variant);

// The start offset of every macro, counted from the macro area (0x30F): the
// offset table comes first, then the macros back to back.
std::vector<uint32_t> gameBoyMacroStarts(const HandheldProject& project);

// The part's bytes, to be put at 0x300. `samples` and `presets` are the image
// offsets of the sample data and the preset blocks. Fails (with the message
// printed) only when a step reference cannot be resolved.
std::optional<std::vector<uint8_t>> emitGameBoyProjectPart(const HandheldProject& project, GameBoyVariant variant,
                                                           std::span<const uint32_t> samples,
                                                           std::span<const uint32_t> presets, common::Output& out);

}  // namespace voconv
