#include "convert/targets/handheld/gb_project_part.h"

#include "common/byte_order.h"
#include "convert/targets/handheld/handheld_envelopes.h"

namespace voconv {
namespace {

using common::ByteWriter;

size_t effectCount(const HandheldProject& p) {
  size_t count = 0;
  for (const auto& group : p.effectGroups) count += group.size();
  return count;
}

// The macro area: the start offsets, then the macros, with the step
// references resolved against the area.
bool writeMacroArea(ByteWriter& out, const HandheldProject& p, common::Output& msg) {
  const std::vector<uint32_t> starts = gameBoyMacroStarts(p);
  ByteWriter area(common::Endian::Little);
  for (uint32_t start : starts) area.u16(uint16_t(start));
  for (const HandheldMacro& macro : p.macros) area.bytes(macro.code);
  std::vector<uint8_t> bytes = area.take();
  if (p.resolveReferences && !p.resolveReferences(starts, bytes, msg)) return false;
  out.bytes(bytes);
  return true;
}

uint8_t scaledVelocity(uint8_t v) {
  if (v == 0) return 0;
  return v < 8 ? 1 : uint8_t(v >> 3);
}

void writeEffects(ByteWriter& out, const HandheldProject& p) {
  for (const auto& group : p.effectGroups) {
    for (const HandheldEffect& fx : group) {
      if (fx.macroIndex < 0) {
        out.zeros(kGameBoyEffectBytes);
        continue;
      }
      out.u8(uint8_t(fx.macroIndex));
      out.u8(fx.priority);
      out.u8(fx.key);
      out.u8(scaledVelocity(fx.velocity));
    }
  }
}

void writeTableArea(ByteWriter& out, const HandheldProject& p) {
  const size_t count = p.tables.size();
  for (size_t i = 0; i < count; ++i) out.u16(uint16_t(2 * count + kGameBoyEnvelopeBytes * i));
  for (const EnvelopeCurve& curve : p.tables) writeGameBoyEnvelope(out, curve);
}

// u16 address, u16 length in 16-byte blocks, u8 1 from 4000 Hz on, u8 bank;
// the slave ROM adds the CRC-32 of the data.
void writeSampleDirectory(ByteWriter& out, const HandheldProject& p, GameBoyVariant variant,
                          std::span<const uint32_t> offsets) {
  for (size_t i = 0; i < p.samples.size(); ++i) {
    const convert::HandheldSample& sample = p.samples[i];
    const BankedAddress at = bankedAddress(offsets[i], variant);
    out.u16(at.address);
    out.u16(uint16_t(sample.data.size() / convert::kGameBoyBlockBytes));
    out.u8(sample.header.rate() >= 4000 ? 1 : 0);
    out.u8(uint8_t(at.bank));
    if (variant == GameBoyVariant::SlaveRom) out.u32(sample.checksum);
  }
}

void writeMidiTable(ByteWriter& out, std::span<const uint32_t> presets) {
  for (uint32_t offset : presets) {
    const BankedAddress at = bankedAddress(offset, GameBoyVariant::Cartridge);
    out.u8(uint8_t(at.bank));
    out.u16(at.address);
  }
}

}  // namespace

GameBoyPartSizes gameBoyPartSizes(const HandheldProject& p, GameBoyVariant variant) {
  GameBoyPartSizes s;
  s.macroArea = uint32_t(2 * p.macros.size());
  s.tableArea = uint32_t(2 * p.tables.size());
  s.sampleDirectory = uint32_t(p.samples.size() * sampleEntryBytes(variant));
  if (variant == GameBoyVariant::SlaveRom) return s;
  for (const HandheldMacro& macro : p.macros) s.macroArea += uint32_t(macro.code.size());
  s.tableArea += uint32_t(kGameBoyEnvelopeBytes * p.tables.size());
  s.effects = effectCount(p);
  s.effectArea = uint32_t(kGameBoyEffectBytes * s.effects);
  s.setups = p.setups.size();
  s.midiTable = uint32_t(kGameBoyMidiEntryBytes * s.setups);
  return s;
}

std::vector<uint32_t> gameBoyMacroStarts(const HandheldProject& p) {
  std::vector<uint32_t> starts;
  starts.reserve(p.macros.size());
  uint32_t next = uint32_t(2 * p.macros.size());
  for (const HandheldMacro& macro : p.macros) {
    starts.push_back(next);
    next += uint32_t(macro.code.size());
  }
  return starts;
}

std::optional<std::vector<uint8_t>> emitGameBoyProjectPart(const HandheldProject& p, GameBoyVariant variant,
                                                           std::span<const uint32_t> samples,
                                                           std::span<const uint32_t> presets, common::Output& msg) {
  const GameBoyPartSizes s = gameBoyPartSizes(p, variant);
  const bool slave = variant == GameBoyVariant::SlaveRom;
  const uint32_t tableArea = kGameBoyHeaderBytes + s.macroArea;
  const uint32_t effectArea = tableArea + s.tableArea;
  const uint32_t sampleDirectory = effectArea + s.effectArea;
  const uint32_t midiTable = sampleDirectory + s.sampleDirectory;
  const bool keymap = !slave && p.keymap.has_value();
  ByteWriter out(common::Endian::Little);
  out.u16(uint16_t(tableArea));
  out.u16(uint16_t(effectArea));
  out.u8(uint8_t(s.effects));
  out.u16(uint16_t(sampleDirectory));
  out.u8(uint8_t(p.samples.size()));
  out.u8(slave ? uint8_t(p.samples.size()) : 0);
  out.u16(keymap ? uint16_t(kGameBoyHeaderBytes + gameBoyMacroStarts(p).at(size_t(p.keymap->macro))) : 0);
  out.u8(keymap ? p.keymap->entries : 0);
  out.u16(uint16_t(midiTable));
  out.u8(uint8_t(s.setups));
  if (slave) {
    out.zeros(s.macroArea + s.tableArea);
  } else {
    if (!writeMacroArea(out, p, msg)) return std::nullopt;
    writeTableArea(out, p);
    writeEffects(out, p);
  }
  writeSampleDirectory(out, p, variant, samples);
  if (!slave) writeMidiTable(out, presets);
  return out.take();
}

}  // namespace voconv
