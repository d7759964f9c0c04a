// The pool file: four u32 offsets (macros, tables, keymaps, layers, from the
// file start), then the four sections, each a run of items ended by u32
// 0xFFFFFFFF. An item is its size (header included), the object ID, u16 0
// and the object's data.
#include "common/byte_order.h"
#include "common/file_io.h"
#include "convert/conversion.h"
#include "convert/foundation/project_file.h"
#include "convert/targets/n64_writer.h"
#include "convert/targets/pool_object_files.h"

namespace voconv {
namespace {

using common::ByteWriter;

constexpr size_t kItemHeaderBytes = 8;

void writeItem(ByteWriter& file, uint16_t id, const ByteWriter& data) {
  file.u32(uint32_t(kItemHeaderBytes + data.size()));
  file.u16(id);
  file.u16(0);
  file.bytes(data.data());
}

// The macro's steps with their IDs renumbered, as 32-bit words in the
// target byte order. A last partial word is filled up with zeros.
bool macroData(Conversion& c, uint16_t id, ByteWriter& data) {
  std::vector<uint8_t> bytes;
  int scriptIndex = 0;
  if (!readMacroObject(c, id, bytes, scriptIndex)) return false;
  renumberMacroOperands(bytes, scriptIndex, c.commands, c.ids);
  for (size_t i = 0; i < bytes.size(); i += 4) data.u32(common::loadU32(bytes.data() + i, common::Endian::Little));
  return true;
}

bool tableData(Conversion& c, uint16_t id, ByteWriter& data) {
  std::vector<uint8_t> bytes;
  if (!readTableObject(c, id, bytes)) return false;
  data.bytes(bytes);
  return true;
}

bool keymapData(Conversion& c, uint16_t id, ByteWriter& data) {
  const KeymapRecord* keymap = c.model.keymaps.find(id);
  if (!keymap) {
    c.out.print("*** Referenced keymap %d not found in project data.\n", id);
    return false;
  }
  c.verbosePrint("Including keymap data read from file <%s> for ID %d...\n", keymap->fileName.c_str(), id);
  for (const KeymapEntry& key : keymap->keys) {
    data.u16(key.objectId);
    data.u8(key.bytes[0]);
    data.u8(key.bytes[1]);
    data.u16(key.word);
    data.u16(0);
  }
  return true;
}

bool layerData(Conversion& c, uint16_t id, ByteWriter& data) {
  const LayerRecord* layer = c.model.layers.find(id);
  if (!layer) {
    c.out.print("*** Referenced layer %d not found in project data.\n", id);
    return false;
  }
  c.verbosePrint("Including layer data read from file <%s> for ID %d...\n", layer->fileName.c_str(), id);
  data.u32(uint32_t(layer->entries.size()));
  for (const LayerEntry& e : layer->entries) {
    data.u16(e.objectId);
    for (uint8_t b : e.bytes) data.u8(b);
    data.u16(e.word);
    data.u8(e.lastByte);
    data.zeros(3);
  }
  return true;
}

using ItemData = bool (*)(Conversion&, uint16_t, ByteWriter&);
constexpr ItemData kItemData[kPoolLists] = {macroData, tableData, keymapData, layerData};

}  // namespace

bool writeN64Pool(Conversion& c, const ReferenceLists& refs) {
  common::SafeFileWriter out(c.program);
  if (!out.open(c.description.outputFile(".pool"))) {
    c.out.print("*** Could not write pool file.\n");
    c.out.print("*** %s\n", out.error().c_str());
    return false;
  }
  const std::set<uint16_t> stack = groupNumbers(c.model, c.description.poolStackGroups);
  ByteWriter file(c.endian());
  file.zeros(4 * size_t(kPoolLists));  // section offsets, patched below
  bool ok = true;
  for (int list = 0; list < kPoolLists && ok; ++list) {
    file.patchU32(4 * size_t(list), uint32_t(file.size()));
    for (const Reference& r : refs.pool[list].entries()) {
      if (!r.write || refs.pool[list].onStack(r.id, stack)) continue;
      ByteWriter data(c.endian());
      if (!kItemData[list](c, r.id, data)) {
        ok = false;  // the first failure stops the step
        break;
      }
      writeItem(file, r.id, data);
    }
    file.u32(0xFFFFFFFF);
  }
  if (!ok) {
    // A pool cut off after a missing object would not load; the old file
    // (if any) stays as it was.
    out.abandon();
    return false;
  }
  if (!out.write(file.data()) || !out.commit()) {
    c.out.print("*** Could not write pool file.\n");
    c.out.print("*** %s\n", out.error().c_str());
    return false;
  }
  return true;
}

}  // namespace voconv
