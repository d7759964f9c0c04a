// The Game Boy memory image: 8 MB of 16 KB banks. The project part lies at
// 0x300 in bank 0, the sample data from 0x4000 on, the preset banks after it.
// The player reaches data in the upper banks through banked addresses.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "common/output.h"

namespace voconv {

constexpr uint32_t kGameBoyBankBytes = 0x4000;
constexpr uint32_t kGameBoyImageBytes = 0x800000;
constexpr uint32_t kGameBoyProjectStart = 0x300;
constexpr uint32_t kGameBoySampleStart = 0x4000;
// The sample directory and the MIDI setup table keep the bank in one byte.
constexpr uint32_t kGameBoyMaxBankNumber = 255;

enum class GameBoyVariant { Cartridge, SlaveRom };

// Bank number and address of an image offset as the player reads them: the
// bank is switched in at 0x4000..0x7FFF. The slave ROM's banks are counted
// one higher (its bank 0 is taken by the program that serves it).
struct BankedAddress {
  uint32_t bank = 0;
  uint16_t address = 0;
};
constexpr BankedAddress bankedAddress(uint32_t offset, GameBoyVariant variant) {
  const uint32_t bank = (offset >> 14) + (variant == GameBoyVariant::SlaveRom ? 1 : 0);
  return {bank, uint16_t(0x4000 + (offset & 0x3FFF))};
}

constexpr uint32_t alignToBank(uint32_t offset) {
  return (offset + kGameBoyBankBytes - 1) / kGameBoyBankBytes * kGameBoyBankBytes;
}

// Where each sample's data starts: one after another from 0x4000, crossing
// bank borders freely. Prints the error and returns nothing when a sample
// does not fit below 8 MB or would start in a bank the directory cannot name.
struct SamplePlacement {
  std::vector<uint32_t> offsets;
  uint32_t end = kGameBoySampleStart;
};
std::optional<SamplePlacement> placeSamples(std::span<const size_t> sizes, GameBoyVariant variant, common::Output& out);

}  // namespace voconv
