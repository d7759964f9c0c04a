#include "convert/targets/handheld/advance_project_file.h"

#include <stdexcept>

#include "common/byte_order.h"
#include "convert/targets/handheld/handheld_envelopes.h"

namespace voconv {
namespace {

using common::ByteWriter;

constexpr uint32_t align4(size_t n) { return uint32_t((n + 3) & ~size_t(3)); }

size_t effectCount(const HandheldProject& p) {
  size_t count = 0;
  for (const auto& group : p.effectGroups) count += group.size();
  return count;
}

// Lays `sizes` one after another from `start`, each padded to 4 bytes, after
// a table of one u32 per item; returns the end.
uint32_t placeRecords(uint32_t start, const std::vector<size_t>& sizes, std::vector<uint32_t>& offsets) {
  uint32_t next = start + uint32_t(4 * sizes.size());
  for (size_t size : sizes) {
    offsets.push_back(next);
    next += align4(size);
  }
  return next;
}

void writeMacros(ByteWriter& out, const HandheldProject& p, const AdvanceLayout& layout) {
  for (uint32_t offset : layout.macros) out.u32(offset);
  for (const HandheldMacro& macro : p.macros) {
    out.u8(macro.voice);
    out.u8(macro.voiceFlags);
    out.u8(macro.samplemap);
    out.u8(0);
    out.bytes(macro.code);
    out.padTo(4);
  }
}

void writeTables(ByteWriter& out, const HandheldProject& p, const AdvanceLayout& layout) {
  for (uint32_t offset : layout.tables) out.u32(offset);
  for (const EnvelopeCurve& curve : p.tables) writeAdvanceEnvelope(out, curve);
}

void writeEffects(ByteWriter& out, const HandheldProject& p) {
  out.u32(uint32_t(effectCount(p)));
  for (const auto& group : p.effectGroups) {
    for (const HandheldEffect& fx : group) {
      if (fx.macroIndex < 0) {
        out.u16(0xFFFF);
        out.zeros(6);
        continue;
      }
      out.u16(uint16_t(fx.macroIndex));
      out.u8(fx.priority);
      out.u8(0xFF);
      out.u8(fx.maxVoices);
      out.u8(fx.velocity);
      out.u8(fx.panning);
      out.u8(fx.key);
    }
  }
}

bool writeSongs(ByteWriter& out, const HandheldProject& p, const AdvanceLayout& layout, common::Output& msg) {
  out.u32(uint32_t(p.setups.size()));
  for (uint32_t offset : layout.setups) out.u32(offset);
  for (const HandheldSetup& setup : p.setups) {
    std::optional<std::vector<uint8_t>> block = buildAdvancePresetBlock(setup, msg);
    if (!block) return false;
    out.bytes(*block);
    out.bytes(setup.song);
    out.padTo(4);
  }
  return true;
}

void writeSamples(ByteWriter& out, const HandheldProject& p, const AdvanceLayout& layout) {
  for (uint32_t offset : layout.samples) out.u32(offset);
  for (const convert::HandheldSample& sample : p.samples) {
    out.u32(uint32_t(sample.data.size()));
    out.u32(sample.header.loopLength == 0 ? 0xFFFFFFFF : sample.header.loopStart);
    out.u16(uint16_t(sample.header.rate()));
    out.u8(sample.header.key());
    out.u8(sample.formatFlag());
    out.u32(0);
    out.bytes(sample.data);
    out.padTo(4);
  }
}

bool writePage(ByteWriter& out, const std::array<PageSlot, kPagePrograms>& page, const char* name,
               common::Output& msg) {
  for (const PageSlot& slot : page) {
    if (!slot.used) {
      out.zeros(4);
      continue;
    }
    if (slot.macroIndex < 0 || slot.macroIndex > 0xFFFF) {
      msg.print("*** ERROR: Illegal macro ID found in MIDI setup (%s page)!\n", name);
      return false;
    }
    out.u16(uint16_t(slot.macroIndex));
    out.u8(slot.priority);
    out.u8(slot.maxVoices);
  }
  return true;
}

}  // namespace

AdvanceLayout advanceLayout(const HandheldProject& p) {
  AdvanceLayout layout;
  std::vector<size_t> sizes;
  for (const HandheldMacro& macro : p.macros) sizes.push_back(kAdvanceMacroAttributeBytes + macro.code.size());
  layout.tableDirectory = placeRecords(kAdvanceHeaderBytes, sizes, layout.macros);
  layout.effectArea = placeRecords(layout.tableDirectory, std::vector<size_t>(p.tables.size(), 8), layout.tables);
  layout.songArea = layout.effectArea + 4 + uint32_t(kAdvanceEffectBytes * effectCount(p));
  sizes.clear();
  for (const HandheldSetup& setup : p.setups) sizes.push_back(kAdvancePresetBytes + setup.song.size());
  layout.sampleArea = placeRecords(layout.songArea + 4, sizes, layout.setups);
  sizes.clear();
  for (const convert::HandheldSample& sample : p.samples) {
    sizes.push_back(kAdvanceSampleHeaderBytes + sample.data.size());
  }
  layout.size = placeRecords(layout.sampleArea, sizes, layout.samples);
  return layout;
}

std::optional<std::vector<uint8_t>> buildAdvancePresetBlock(const HandheldSetup& setup, common::Output& out) {
  ByteWriter block(common::Endian::Little);
  for (uint8_t program : setup.programs) block.u8(program);
  if (!writePage(block, setup.normalPage, "normal", out) || !writePage(block, setup.drumPage, "drum", out)) {
    return std::nullopt;
  }
  return block.take();
}

std::optional<std::vector<uint8_t>> emitAdvanceProject(const HandheldProject& p, common::Output& msg) {
  const AdvanceLayout layout = advanceLayout(p);
  ByteWriter out(common::Endian::Little);
  for (uint32_t offset : {kAdvanceHeaderBytes, layout.tableDirectory, layout.effectArea, layout.effectArea, 0u, 0u,
                          layout.songArea, layout.sampleArea}) {
    out.u32(offset);
  }
  writeMacros(out, p, layout);
  writeTables(out, p, layout);
  writeEffects(out, p);
  if (!writeSongs(out, p, layout, msg)) return std::nullopt;
  writeSamples(out, p, layout);
  std::vector<uint8_t> file = out.take();
  if (file.size() != layout.size) throw std::logic_error("Advance project layout and file differ in size");
  if (p.resolveReferences) {
    std::vector<uint32_t> places;
    for (uint32_t record : layout.macros) places.push_back(record + kAdvanceMacroAttributeBytes);
    if (!p.resolveReferences(places, file, msg)) return std::nullopt;
  }
  return file;
}

}  // namespace voconv
