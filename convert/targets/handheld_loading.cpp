#include "convert/targets/handheld_loading.h"

#include <algorithm>
#include <new>

#include "common/byte_order.h"
#include "convert/conversion.h"
#include "convert/foundation/object_id.h"
#include "convert/foundation/project_file.h"
#include "convert/samples/sample_reader.h"
#include "convert/targets/handheld_objects.h"
#include "convert/targets/handheld_sample_loading.h"
#include "convert/targets/n64_reference_lists.h"
#include "convert/targets/pool_object_files.h"

namespace voconv {
namespace {

using common::ByteWriter;
using common::Endian;

bool named(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// Keymap and layer references are entered like the others; nothing is
// loaded for them.
void enterReferences(Conversion& c, ReferenceLists& refs, const GroupMembers& m, uint16_t group,
                     const std::string& name) {
  const bool pool = named(c.description.poolIncludeGroups, name);
  const bool samples = named(c.description.sampleIncludeGroups, name);
  for (uint16_t id : m.macros) refs.pool[kPoolMacros].enter(id, group, pool);
  for (uint16_t id : m.samples) refs.samples.enter(id, group, samples);
  for (uint16_t id : m.tables) refs.pool[kPoolTables].enter(id, group, pool);
  for (uint16_t id : m.keymaps) refs.pool[kPoolKeymaps].enter(id, group, pool);
  for (uint16_t id : m.layers) refs.pool[kPoolLayers].enter(id, group, pool);
}

// 256 entries of 8 bytes: u16 object ID (0xFFFF for an empty entry),
// priority, maximum voices, drum mode - 1, three bytes 0.
bool pagePayload(Conversion& c, const SongGroup& g, std::vector<uint8_t>& payload) {
  payload.assign(kPageObjectEntries * kPageObjectEntryBytes, 0);
  for (std::size_t slot = 0; slot < kPageObjectEntries; ++slot) {
    common::storeU16(payload.data() + slot * kPageObjectEntryBytes, kNoObject, Endian::Little);
  }
  const auto fill = [&](const KeyedList<PageEntry>& page, std::size_t first) {
    for (const auto& [program, entry] : page) {
      if (program >= kDrumPageFirstEntry) {
        c.out.print("*** Program %u of song group <%s> lies outside its page (0..127).\n", unsigned(program),
                    g.name.c_str());
        return false;
      }
      uint8_t* at = payload.data() + (first + program) * kPageObjectEntryBytes;
      common::storeU16(at, entry.objectId, Endian::Little);
      at[2] = entry.pri;
      at[3] = entry.mv;
      at[4] = uint8_t(entry.dm - 1);  // drum mode 0 becomes 255
    }
    return true;
  };
  return fill(g.normalPage, 0) && fill(g.drumPage, kDrumPageFirstEntry);
}

void addMidiSetup(Conversion& c, const SongGroup& g, const MidiSetupEntry& setup) {
  ByteWriter w(Endian::Little);
  w.fixedText(setup.name.substr(0, kMaxMidiSetupNameLength), kMidiSetupNameBytes);
  w.u16(setup.setupId);
  for (const ChannelSetup& ch : setup.channels) {
    for (uint8_t v : {ch.prg, ch.vol, ch.pan, ch.rev, ch.cho}) w.u8(v);
  }
  w.zeros(2);
  w.u32(setup.setupId);
  w.u32(g.number);
  c.targetObjects.add(TargetObjectType::MidiSetup, setup.setupId, 0).payload = w.take();
}

bool loadSongGroup(Conversion& c, ReferenceLists& refs, const SongGroup& g) {
  c.verbosePrint("Including songgroup <%s> into project data...\n", g.name.c_str());
  enterReferences(c, refs, g.members, g.number, g.name);
  std::vector<uint8_t> page;
  if (!pagePayload(c, g, page)) return false;
  c.targetObjects.add(TargetObjectType::SongGroup, g.number, 0).payload = std::move(page);
  for (const auto& [id, setup] : g.midiSetups) addMidiSetup(c, g, setup);
  return true;
}

void loadEffectGroup(Conversion& c, ReferenceLists& refs, const SoundEffectGroup& g) {
  c.verbosePrint("Including FXgroup <%s> into project data...\n", g.name.c_str());
  enterReferences(c, refs, g.members, g.number, g.name);
  ByteWriter w(Endian::Little);
  for (const auto& [id, fx] : g.effects) {
    w.u16(uint16_t(id));
    w.u16(fx.objectId);
    for (uint8_t v : {fx.pri, fx.mv, fx.dv, fx.dp, fx.dk, uint8_t(0)}) w.u8(v);
  }
  c.targetObjects.add(TargetObjectType::SoundEffectGroup, g.number, 0).payload = w.take();
}

bool loadGroups(Conversion& c, ReferenceLists& refs) {
  for (const std::string& name : c.description.projectGroups) {
    if (const SongGroup* g = c.model.songGroupByName(name)) {
      if (!loadSongGroup(c, refs, *g)) return false;
    } else if (const SoundEffectGroup* e = c.model.soundEffectGroupByName(name)) {
      loadEffectGroup(c, refs, *e);
    } else {
      c.out.print("*** Group <%s> is not defined within this project.\n", name.c_str());
      return false;
    }
  }
  return true;
}

bool loadMacro(Conversion& c, uint16_t id) {
  std::vector<uint8_t> bytes;
  int scriptIndex = 0;
  if (!readMacroObject(c, id, bytes, scriptIndex)) return false;
  c.targetObjects.add(TargetObjectType::Macro, id, 0).payload = std::move(bytes);
  return true;
}

bool loadTable(Conversion& c, uint16_t id) {
  std::vector<uint8_t> bytes;
  if (!readTableObject(c, id, bytes)) return false;
  c.targetObjects.add(TargetObjectType::Table, id, 0).payload = std::move(bytes);
  return true;
}

// Loads the flagged entries of `list` that the group stack does not hold,
// in entry order.
template <typename Load>
bool loadList(Conversion& c, const ReferenceList& list, const std::vector<std::string>& stackGroups, Load load) {
  const std::set<uint16_t> stack = groupNumbers(c.model, stackGroups);
  for (const Reference& r : list.entries()) {
    if (r.write && !list.onStack(r.id, stack) && !load(r.id)) return false;
  }
  return true;
}

// Runs one object's loading; memory that cannot be had ends it with `message`.
template <typename Load>
bool orOutOfMemory(Conversion& c, const char* message, Load load) {
  try {
    return load();
  } catch (const std::bad_alloc&) {
    c.out.print("%s\n", message);
    return false;
  }
}

}  // namespace

bool loadHandheldObjects(Conversion& c) {
  c.targetObjects.clear();
  ReferenceLists refs;
  if (!loadGroups(c, refs)) return false;
  HandheldSampleLoader samples(c);
  const std::vector<std::string>& poolStack = c.description.poolStackGroups;
  const auto macro = [&](uint16_t id) {
    return orOutOfMemory(c, "*** Could not allocate memory.", [&] { return loadMacro(c, id); });
  };
  const auto table = [&](uint16_t id) {
    return orOutOfMemory(c, "*** Could not allocate memory for curve data.", [&] { return loadTable(c, id); });
  };
  const auto sample = [&](uint16_t id) {
    return orOutOfMemory(c, "*** Could not allocate sample memory.", [&] { return samples.load(id); });
  };
  return loadList(c, refs.pool[kPoolMacros], poolStack, macro) &&
         loadList(c, refs.pool[kPoolTables], poolStack, table) &&
         loadList(c, refs.samples, c.description.sampleStackGroups, sample);
}

}  // namespace voconv
