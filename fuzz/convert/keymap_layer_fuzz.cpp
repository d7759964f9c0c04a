// Feeds arbitrary bytes as a keymap file and as a layer file and checks what
// the export script reader made of them: 128 keys, one layer entry per whole
// 9-byte record, object 0 read as "none".
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "common/byte_order.h"
#include "convert/project/script_reading.h"
#include "fuzz_conversion.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::fuzzFolder("convert-keymap-layer-fuzz");
  for (const char* name : {"km.bin", "ly.bin"}) {
    std::ofstream f(name, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(data), std::streamsize(size));
  }
  fuzzing::FuzzConversion run;
  voconv::Conversion& c = run.conversion;
  const std::string script = "[Keymaps]\n3,km.bin\n[Layers]\n4,ly.bin\n";
  voconv::SongRuns songs(voconv::SongToolSettings{}, c.basePaths, c.runTool, c.out, false);
  if (!voconv::readExportScriptText(c, songs, script, "script.txt", 0)) std::abort();
  const voconv::KeymapRecord* keymap = c.model.keymaps.find(0x4003);
  const voconv::LayerRecord* layer = c.model.layers.find(0x8004);
  if (!keymap || !layer) std::abort();
  if (layer->entries.size() != size / 9) std::abort();
  for (size_t i = 0; i < layer->entries.size(); ++i) {
    const uint16_t raw = common::loadU16(data + i * 9, common::Endian::Little);
    if (raw == 0 && layer->entries[i].objectId != 0xFFFF) std::abort();
    if (layer->entries[i].word != common::loadU16(data + i * 9 + 7, common::Endian::Little)) std::abort();
  }
  std::vector<uint8_t> padded(data, data + size);
  padded.resize(std::max<size_t>(size, 1024), 0);  // missing keys read as empty
  for (size_t k = 0; k < 128; ++k) {
    const uint16_t raw = common::loadU16(padded.data() + k * 8, common::Endian::Little);
    if (raw == 0 && keymap->keys[k].objectId != 0xFFFF) std::abort();
    if (keymap->keys[k].word != common::loadU16(padded.data() + k * 8 + 4, common::Endian::Little)) std::abort();
  }
  return 0;
}
