// The project file: one record per selected group, ended by two u16 0xFFFF.
// A record is its size, the group number and kind, the offsets of its lists
// (counted from the first offset field), the lists, and padding to 4 bytes.
#include <algorithm>
#include <span>

#include "common/byte_order.h"
#include "common/file_io.h"
#include "convert/conversion.h"
#include "convert/targets/n64_writer.h"

namespace voconv {
namespace {

using common::ByteWriter;

constexpr uint16_t kSongGroupKind = 0;
constexpr uint16_t kEffectGroupKind = 1;
constexpr size_t kSongGroupLists = 8;
constexpr size_t kEffectGroupLists = 6;

// IDs, then u16 0xFFFF after an odd count or u32 0xFFFFFFFF after an even
// one, so that the list ends 4-aligned.
void writeIdList(ByteWriter& w, const std::vector<uint16_t>& ids) {
  for (uint16_t id : ids) w.u16(id);
  if (ids.size() % 2 != 0) {
    w.u16(0xFFFF);
  } else {
    w.u32(0xFFFFFFFF);
  }
}

void writePage(ByteWriter& w, const KeyedList<PageEntry>& page) {
  for (const auto& [program, entry] : page) {
    w.u16(entry.objectId);
    w.u8(entry.pri);
    w.u8(entry.mv);
    w.u8(uint8_t(entry.dm - 1));  // drum mode 0 becomes 0xFF
    w.u8(uint8_t(program));
    w.u16(0);
  }
  w.u32(0xFFFFFFFF);
  w.u32(0xFFFFFFFF);
}

void writeMidiSetups(ByteWriter& w, const KeyedList<MidiSetupEntry>& setups) {
  for (const auto& [key, setup] : setups) {
    w.u16(setup.setupId);
    w.u16(0);
    for (const ChannelSetup& ch : setup.channels) {
      w.u8(ch.prg);
      w.u8(ch.vol);
      w.u8(ch.pan);
      w.u8(ch.rev);
      w.u8(ch.cho);
      w.u8(0);
      w.u16(0);
    }
  }
  w.u32(0xFFFFFFFF);
}

void writeEffects(ByteWriter& w, const KeyedList<SoundEffectEntry>& effects) {
  w.u16(uint16_t(effects.size()));
  w.u16(0);
  for (const auto& [id, fx] : effects) {
    w.u16(uint16_t(id));
    w.u16(fx.objectId);
    w.u8(fx.mv);
    w.u8(fx.pri);
    w.u8(fx.dv);
    w.u8(fx.dp);
    w.u8(fx.dk);
    w.zeros(3);
  }
}

// Writes one record: the lists are laid out first, so that the offsets are
// known before the header is written.
template <typename WriteLists>
void writeRecord(ByteWriter& file, uint16_t number, uint16_t kind, size_t listCount, WriteLists writeLists) {
  ByteWriter lists(file.endian());
  std::vector<uint32_t> offsets;
  const size_t offsetBytes = 4 * listCount;
  writeLists(lists, [&] { offsets.push_back(uint32_t(offsetBytes + lists.size())); });
  const size_t start = file.size();
  file.u32(0);  // size, patched below
  file.u16(number);
  file.u16(kind);
  for (uint32_t offset : offsets) file.u32(offset);
  file.bytes(lists.data());
  file.padTo(4);
  file.patchU32(start, uint32_t(file.size() - start));
}

void writeMembers(ByteWriter& w, const GroupMembers& m, const std::function<void()>& mark) {
  mark();
  writeIdList(w, m.macros);
  mark();
  writeIdList(w, m.samples);
  mark();
  writeIdList(w, m.tables);
  mark();
  writeIdList(w, m.keymaps);
  mark();
  writeIdList(w, m.layers);
}

struct IncludeRules {
  std::vector<std::string> poolGroups, sampleGroups;
  bool pool(const std::string& name) const {
    return std::find(poolGroups.begin(), poolGroups.end(), name) != poolGroups.end();
  }
  bool samples(const std::string& name) const {
    return std::find(sampleGroups.begin(), sampleGroups.end(), name) != sampleGroups.end();
  }
};

void enterReferences(ReferenceLists& refs, const GroupMembers& m, uint16_t group, bool pool, bool samples) {
  for (uint16_t id : m.macros) refs.pool[kPoolMacros].enter(id, group, pool);
  for (uint16_t id : m.samples) refs.samples.enter(id, group, samples);
  for (uint16_t id : m.tables) refs.pool[kPoolTables].enter(id, group, pool);
  for (uint16_t id : m.keymaps) refs.pool[kPoolKeymaps].enter(id, group, pool);
  for (uint16_t id : m.layers) refs.pool[kPoolLayers].enter(id, group, pool);
}

void writeSongGroup(Conversion& c, ByteWriter& file, const SongGroup& g) {
  c.verbosePrint("Including songgroup <%s> into project data...\n", g.name.c_str());
  c.include->writeLine(g.number, upperCase(g.name) + "_SONGGROUP");
  writeRecord(file, g.number, kSongGroupKind, kSongGroupLists, [&](ByteWriter& w, const auto& mark) {
    writeMembers(w, g.members, mark);
    mark();
    writePage(w, g.normalPage);
    mark();
    writePage(w, g.drumPage);
    mark();
    writeMidiSetups(w, g.midiSetups);
  });
}

void writeEffectGroup(Conversion& c, ByteWriter& file, const SoundEffectGroup& g) {
  c.verbosePrint("Including FXgroup <%s> into project data...\n", g.name.c_str());
  c.include->writeLine(g.number, upperCase(g.name) + "_FXGROUP");
  writeRecord(file, g.number, kEffectGroupKind, kEffectGroupLists, [&](ByteWriter& w, const auto& mark) {
    writeMembers(w, g.members, mark);
    mark();
    writeEffects(w, g.effects);
  });
  for (const auto& [id, fx] : g.effects) {
    c.include->writeLine(int(id), fx.name.empty() ? common::format("FX%05d", int(id)) : upperCase(fx.name) + "_FXID");
  }
}

}  // namespace

bool writeN64Project(Conversion& c, ReferenceLists& refs) {
  refs.clear();
  common::SafeFileWriter out(c.program);
  if (!out.open(c.description.outputFile(".proj"))) {
    c.out.print("*** Could not write project file.\n");
    c.out.print("*** %s\n", out.error().c_str());
    return false;
  }
  const IncludeRules rules{c.description.poolIncludeGroups, c.description.sampleIncludeGroups};
  ByteWriter file(c.endian());
  bool ok = true;
  for (const std::string& name : c.description.projectGroups) {
    if (const SongGroup* g = c.model.songGroupByName(name)) {
      writeSongGroup(c, file, *g);
      enterReferences(refs, g->members, g->number, rules.pool(name), rules.samples(name));
    } else if (const SoundEffectGroup* e = c.model.soundEffectGroupByName(name)) {
      writeEffectGroup(c, file, *e);
      enterReferences(refs, e->members, e->number, rules.pool(name), rules.samples(name));
    } else {
      c.out.print("*** Group <%s> is not defined within this project.\n", name.c_str());
      ok = false;
      break;
    }
  }
  file.u16(0xFFFF);  // the end marker is written in any case
  file.u16(0xFFFF);
  if (!out.write(file.data()) || !out.commit()) {
    c.out.print("*** Could not write project file.\n");
    c.out.print("*** %s\n", out.error().c_str());
    return false;
  }
  return ok;
}

}  // namespace voconv
