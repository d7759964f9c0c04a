// Game Boy preset blocks, one per MIDI setup: the macro indexes of the first
// four channels' programs (4 bytes), the macro index of every normal-page
// program (128 bytes, 0 where the page is empty), then the song file. A block
// never crosses a bank border, so the player reaches it with one banked
// address; the blocks are packed into whole banks.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "common/output.h"
#include "convert/targets/handheld/gb_image.h"
#include "convert/targets/handheld/handheld_project.h"

namespace voconv {

constexpr size_t kGameBoyPresetHeaderBytes = 4 + kPagePrograms;
constexpr size_t kGameBoyMaxSongBytes = kGameBoyBankBytes - kGameBoyPresetHeaderBytes;  // 16252
constexpr size_t kGameBoyPresetChannels = 4;
// No block may start in the image's last bank.
constexpr uint32_t kGameBoyPresetLimit = kGameBoyImageBytes - kGameBoyBankBytes;

// The block of one setup; prints the error and returns nothing when a
// program names no macro of the project or the song does not fit a bank.
std::optional<std::vector<uint8_t>> buildGameBoyPresetBlock(const HandheldSetup& setup, common::Output& out);

// Image offsets of the blocks, in the order of `sizes`. Largest first, each
// bank is started with the largest block left and filled with every later
// block that still fits; the next bank starts at the next bank border. The
// first bank starts at `firstBankStart` (a bank border). Prints the error and
// returns nothing when a block would start in the last bank or in a bank the
// MIDI setup table cannot name.
std::optional<std::vector<uint32_t>> packPresetBlocks(std::span<const size_t> sizes, uint32_t firstBankStart,
                                                      common::Output& out);

}  // namespace voconv
