// Feeds arbitrary text to the export script parse and merges the model as
// the second script of a run, with a keymap and a layer file's bytes given
// in memory for every keymap and layer line, and checks the model it built.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "convert/foundation/fatal_error.h"
#include "convert/project/export_script.h"
#include "convert/project/script_merge.h"
#include "fuzz_conversion.h"

namespace {

std::vector<uint8_t> fileBytes(size_t size) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = uint8_t(i * 37 + 1);
  return bytes;
}

// Every keymap and layer line names a readable file, except those whose name
// starts with "missing".
voconv::ScriptFiles filesFor(const voconv::ScriptModel& script) {
  voconv::ScriptFiles files;
  for (size_t i = 0; i < script.steps.size(); ++i) {
    const auto* object = std::get_if<voconv::ObjectStep>(&script.steps[i].what);
    if (!object || object->idOnly) continue;
    const bool keymap = object->kind == voconv::IdKind::Keymap;
    if (!keymap && object->kind != voconv::IdKind::Layer) continue;
    voconv::LoadedFile& file = files.byStep[i];
    file.path = object->fileName;
    file.read = object->fileName.rfind("missing", 0) != 0;
    if (file.read) file.bytes = fileBytes(keymap ? 1024 : 40);
  }
  return files;
}

bool merge(voconv::Conversion& c, voconv::SongRuns& songs, std::string text, const char* name, int index) {
  const voconv::ScriptModel script = voconv::parseExportScript(std::move(text), name);
  const voconv::MergeTarget target{c.model, c.ids, c.midiSetups};
  return voconv::mergeScript(script, filesFor(script), index, target, songs, c.out, true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::FuzzConversion run;
  voconv::Conversion& c = run.conversion;
  voconv::SongRuns songs(voconv::SongToolSettings{}, c.basePaths, c.runTool, c.out, true);
  const std::string first = "[Samples]\n1,a.wav,0\n2,b.wav,1\n[Soundmacros]\n1,m.mac\n";
  if (!merge(c, songs, first, "first.txt", 0)) std::abort();
  try {
    merge(c, songs, std::string(reinterpret_cast<const char*>(data), size), "fuzz.txt", 1);
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
