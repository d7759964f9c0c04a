// Lays out the Game Boy image of one project: the project part at 0x300, the
// samples from 0x4000, then (cartridge only) the preset blocks packed into
// the banks after the samples. Prints the memory statistics when asked.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "common/output.h"
#include "convert/targets/handheld/gb_image.h"
#include "convert/targets/handheld/handheld_project.h"

namespace voconv {

// The image up to the end of the pool (zero-filled where nothing lies; the
// rest of the 8 MB is never written).
struct GameBoyLayout {
  std::vector<uint8_t> image;
  uint32_t projectSize = 0;                    // bytes from 0x300
  uint32_t sampleEnd = kGameBoySampleStart;    // after the last sample's data
  uint32_t presetStart = kGameBoySampleStart;  // first bank border after the samples
  uint32_t poolEnd = kGameBoySampleStart;      // the pool is 0x4000..poolEnd

  std::span<const uint8_t> projectPart() const { return {image.data() + kGameBoyProjectStart, projectSize}; }
  std::span<const uint8_t> sampleData() const {
    return {image.data() + kGameBoySampleStart, sampleEnd - kGameBoySampleStart};
  }
  std::span<const uint8_t> pool() const { return {image.data() + kGameBoySampleStart, poolEnd - kGameBoySampleStart}; }
};

struct GameBoyLayoutOptions {
  GameBoyVariant variant = GameBoyVariant::Cartridge;
  bool statistics = false;  // -vs
};

// Prints the error and returns nothing when the project does not fit: more
// than 255 effects, samples or MIDI setups (their counts are one byte), a
// sample longer than its 16-bit length field, a project part that reaches the
// sample data, data beyond 8 MB or in banks the tables cannot name, or a
// MIDI setup whose preset block cannot be built.
std::optional<GameBoyLayout> layOutGameBoyImage(const HandheldProject& project, const GameBoyLayoutOptions& options,
                                                common::Output& out);

}  // namespace voconv
