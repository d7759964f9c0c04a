// Feeds arbitrary text to the export script reader as the second script of a
// run, with a keymap and a layer file at hand, and checks the model it built.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "convert/foundation/fatal_error.h"
#include "convert/project/export_script.h"
#include "fuzz_conversion.h"

namespace {

void writeFile(const char* name, size_t size) {
  std::ofstream f(name, std::ios::binary);
  for (size_t i = 0; i < size; ++i) f.put(char(i * 37 + 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = [] {
    fuzzing::fuzzFolder("convert-export-script-fuzz");
    writeFile("km.bin", 1024);
    writeFile("ly.bin", 40);
    return true;
  }();
  (void)ready;
  fuzzing::FuzzConversion run;
  voconv::Conversion& c = run.conversion;
  const std::string first = "[Samples]\n1,a.wav,0\n2,b.wav,1\n[Soundmacros]\n1,m.mac\n";
  if (!voconv::parseExportScript(c, first, "first.txt", 0)) std::abort();
  try {
    voconv::parseExportScript(c, std::string(reinterpret_cast<const char*>(data), size), "fuzz.txt", 1);
  } catch (const voconv::FatalError&) {
    return 0;
  }
  for (const auto& layer : c.model.layers) {
    if ((layer.key & 0xC000) != 0x8000) std::abort();
  }
  for (const auto& keymap : c.model.keymaps) {
    if ((keymap.key & 0xC000) != 0x4000) std::abort();
  }
  for (const auto& group : c.model.songGroups) {
    for (const auto& setup : group.value.midiSetups) {
      if (setup.value.name.empty() || setup.value.name.size() > 127) std::abort();
    }
  }
  if (run.toolRuns > int(c.midiSetups.setups().size())) std::abort();  // a name is converted once
  return 0;
}
