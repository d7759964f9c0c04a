#include "convert/targets/handheld/gb_layout.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "convert/targets/handheld/gb_preset_blocks.h"
#include "convert/targets/handheld/gb_project_part.h"

namespace voconv {
namespace {

constexpr size_t kMaxCount = 255;
constexpr size_t kMaxSampleBytes = 0xFFFF * convert::kGameBoyBlockBytes;

bool countFits(size_t count, const char* what, common::Output& out) {
  if (count <= kMaxCount) return true;
  out.print("*** ERROR: Too many %s for the Game Boy (%zu, at most %zu)!\n", what, count, kMaxCount);
  return false;
}

bool fitsFields(const HandheldProject& p, const GameBoyPartSizes& sizes, common::Output& out) {
  if (!countFits(sizes.effects, "sound effects", out) || !countFits(p.samples.size(), "samples", out) ||
      !countFits(sizes.setups, "MIDI setups", out)) {
    return false;
  }
  for (size_t i = 0; i < p.samples.size(); ++i) {
    if (p.samples[i].data.size() > kMaxSampleBytes) {
      out.print("*** ERROR: Sample %zu is too long for the Game Boy (%zu bytes, at most %zu)!\n", i,
                p.samples[i].data.size(), kMaxSampleBytes);
      return false;
    }
  }
  if (kGameBoyProjectStart + sizes.total() > kGameBoySampleStart) {
    out.print("*** ERROR: Project data (%u bytes) reach the sample data at 0x4000!\n", sizes.total());
    return false;
  }
  return true;
}

void printStatisticsHead(const GameBoyPartSizes& s, const HandheldProject& p, common::Output& out) {
  out.print("\nMemory statistics:\n");
  out.print("   > Macros: %zu bytes\n", s.macroArea - 2 * p.macros.size());
  out.print("   > Tables: %zu bytes\n", s.tableArea - 2 * p.tables.size());
}

struct PresetBlocks {
  std::vector<std::vector<uint8_t>> blocks;
  std::vector<uint32_t> offsets;
};

std::optional<PresetBlocks> layOutPresets(const HandheldProject& p, uint32_t firstBank, bool statistics,
                                          common::Output& out) {
  PresetBlocks result;
  std::vector<size_t> sizes;
  size_t total = 0;
  for (const HandheldSetup& setup : p.setups) {
    std::optional<std::vector<uint8_t>> block = buildGameBoyPresetBlock(setup, out);
    if (!block) return std::nullopt;
    if (statistics) out.print("   > Preset & arrangement for \"%s\": %zu bytes\n", setup.name.c_str(), block->size());
    sizes.push_back(block->size());
    total += block->size();
    result.blocks.push_back(std::move(*block));
  }
  if (statistics) out.print("   = All presets & arrangements (unaligned): %zu bytes\n\n", total);
  std::optional<std::vector<uint32_t>> offsets = packPresetBlocks(sizes, firstBank, out);
  if (!offsets) return std::nullopt;
  result.offsets = std::move(*offsets);
  return result;
}

void copyInto(std::vector<uint8_t>& image, uint32_t offset, std::span<const uint8_t> bytes) {
  if (!bytes.empty()) std::memcpy(image.data() + offset, bytes.data(), bytes.size());
}

}  // namespace

std::optional<GameBoyLayout> layOutGameBoyImage(const HandheldProject& p, const GameBoyLayoutOptions& options,
                                                common::Output& out) {
  const GameBoyPartSizes sizes = gameBoyPartSizes(p, options.variant);
  if (!fitsFields(p, sizes, out)) return std::nullopt;
  if (options.statistics) printStatisticsHead(sizes, p, out);
  std::vector<size_t> sampleSizes;
  for (const convert::HandheldSample& sample : p.samples) sampleSizes.push_back(sample.data.size());
  std::optional<SamplePlacement> samples = placeSamples(sampleSizes, options.variant, out);
  if (!samples) return std::nullopt;
  if (options.statistics) out.print("   > Samples (unaligned): %u bytes\n", samples->end - kGameBoySampleStart);
  GameBoyLayout layout;
  layout.sampleEnd = samples->end;
  layout.presetStart = alignToBank(samples->end);
  layout.poolEnd = layout.presetStart;
  PresetBlocks presets;
  if (options.variant == GameBoyVariant::Cartridge) {
    std::optional<PresetBlocks> laid = layOutPresets(p, layout.presetStart, options.statistics, out);
    if (!laid) return std::nullopt;
    presets = std::move(*laid);
    for (size_t i = 0; i < presets.blocks.size(); ++i) {
      layout.poolEnd = std::max(layout.poolEnd, presets.offsets[i] + uint32_t(presets.blocks[i].size()));
    }
  }
  const std::optional<std::vector<uint8_t>> part =
      emitGameBoyProjectPart(p, options.variant, samples->offsets, presets.offsets, out);
  if (!part) return std::nullopt;
  layout.projectSize = uint32_t(part->size());
  try {
    layout.image.assign(layout.poolEnd, 0);
  } catch (const std::bad_alloc&) {
    out.print("*** ERROR: Not enough memory to create project data!\n");
    return std::nullopt;
  }
  copyInto(layout.image, kGameBoyProjectStart, *part);
  for (size_t i = 0; i < p.samples.size(); ++i) copyInto(layout.image, samples->offsets[i], p.samples[i].data);
  for (size_t i = 0; i < presets.blocks.size(); ++i) copyInto(layout.image, presets.offsets[i], presets.blocks[i]);
  return layout;
}

}  // namespace voconv
