#include "convert/targets/handheld/gb_preset_blocks.h"

#include <algorithm>
#include <numeric>

namespace voconv {
namespace {

// The macro index of a program's normal-page entry, or nothing when that
// entry names no macro with an index (an empty entry included).
std::optional<uint8_t> programMacro(const HandheldSetup& setup, uint8_t program) {
  if (program >= kPagePrograms) return std::nullopt;
  const PageSlot& slot = setup.normalPage[program];
  if (!slot.used || slot.macroIndex < 0 || slot.macroIndex > 255) return std::nullopt;
  return uint8_t(slot.macroIndex);
}

bool startAllowed(uint32_t start, size_t block, common::Output& out) {
  if (start >= kGameBoyPresetLimit) {
    out.print("*** ERROR: Project, Sample and MIDI data exceed 8MB!\n");
    return false;
  }
  const uint32_t bank = bankedAddress(start, GameBoyVariant::Cartridge).bank;
  if (bank > kGameBoyMaxBankNumber) {
    out.print("*** ERROR: The preset block of MIDI setup %zu would lie in bank %u; the MIDI setup table names "
              "banks up to %u only!\n",
              block, bank, kGameBoyMaxBankNumber);
    return false;
  }
  return true;
}

}  // namespace

std::optional<std::vector<uint8_t>> buildGameBoyPresetBlock(const HandheldSetup& setup, common::Output& out) {
  std::vector<uint8_t> block;
  block.reserve(kGameBoyPresetHeaderBytes + setup.song.size());
  for (size_t channel = 0; channel < kGameBoyPresetChannels; ++channel) {
    const std::optional<uint8_t> macro = programMacro(setup, setup.programs[channel]);
    if (!macro) {
      out.print("*** ERROR: Illegal macro ID found in MIDI setup!\n");
      return std::nullopt;
    }
    block.push_back(*macro);
  }
  for (size_t program = 0; program < kPagePrograms; ++program) {
    const bool used = setup.normalPage[program].used;
    const std::optional<uint8_t> macro = programMacro(setup, uint8_t(program));
    if (used && !macro) {
      out.print("*** ERROR: Illegal macro ID found in MIDI setup!\n");
      return std::nullopt;
    }
    block.push_back(macro.value_or(0));
  }
  if (setup.song.size() > kGameBoyMaxSongBytes) {
    out.print("*** ERROR: MIDI sequence too long to fit in one Game Boy bank!\n");
    return std::nullopt;
  }
  block.insert(block.end(), setup.song.begin(), setup.song.end());
  return block;
}

std::optional<std::vector<uint32_t>> packPresetBlocks(std::span<const size_t> sizes, uint32_t firstBankStart,
                                                      common::Output& out) {
  std::vector<size_t> bySize(sizes.size());
  std::iota(bySize.begin(), bySize.end(), size_t(0));
  std::stable_sort(bySize.begin(), bySize.end(), [&](size_t a, size_t b) { return sizes[a] > sizes[b]; });
  std::vector<uint32_t> offsets(sizes.size());
  std::vector<bool> placed(sizes.size(), false);
  uint32_t bankStart = firstBankStart;
  for (size_t first = 0; first < bySize.size(); ++first) {
    if (placed[bySize[first]]) continue;
    uint32_t used = 0;
    for (size_t k = first; k < bySize.size(); ++k) {
      const size_t block = bySize[k];
      if (placed[block] || (k != first && used + sizes[block] > kGameBoyBankBytes)) continue;
      if (!startAllowed(bankStart + used, block, out)) return std::nullopt;
      offsets[block] = bankStart + used;
      used += uint32_t(sizes[block]);
      placed[block] = true;
    }
    bankStart = alignToBank(bankStart + used);
  }
  return offsets;
}

}  // namespace voconv
