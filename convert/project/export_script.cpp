#include "export_script.h"

#include <string_view>
#include <vector>

#include "common/byte_order.h"
#include "common/file_io.h"
#include "convert/foundation/project_file.h"
#include "common/paths.h"
#include "convert/conversion.h"
#include "convert/foundation/file_names.h"
#include "convert/foundation/line_reader.h"
#include "convert/foundation/object_id.h"
#include "convert/include_file.h"
#include "convert/tools/song_conversion.h"

namespace voconv {

namespace {

enum class Section { Main, Samples, Soundmacros, Layers, Keymaps, Tables, Songgroup, SFXgroup };

struct SectionMarker {
  std::string_view text;
  Section section;
};
constexpr SectionMarker kSections[] = {
    {"[Samples]", Section::Samples}, {"[Soundmacros]", Section::Soundmacros}, {"[Layers]", Section::Layers},
    {"[Keymaps]", Section::Keymaps}, {"[Tables]", Section::Tables},           {"[Songgroup]", Section::Songgroup},
    {"[SFXgroup]", Section::SFXgroup},
};

// Matches a key line by its leading characters; the value starts one
// character after the key (normally past the '=').
bool matchKey(const std::string& line, std::string_view key, std::string& value) {
  if (line.compare(0, key.size(), key) != 0) return false;
  value = line.size() > key.size() ? line.substr(key.size() + 1) : std::string();
  return true;
}

class ScriptReader {
 public:
  ScriptReader(Conversion& c, std::string text, const std::string& name)
      : c_(c), lines_(std::move(text)), name_(name) {}

  bool read();

 private:
  bool fail(const char* fmt, const std::string& text = {});
  bool fits(const std::string& name, size_t limit, const char* what);
  void warnUnlessSymbol(const std::string& name);
  bool line(const std::string& line);
  bool mainLine(const std::string& line);
  bool sampleLine(const std::string& line);
  bool macroLine(const std::string& line);
  bool keymapLine(const std::string& line);
  bool layerLine(const std::string& line);
  bool tableLine(const std::string& line);
  bool songGroupLine(const std::string& line);
  bool effectGroupLine(const std::string& line);
  bool effectLine(const std::string& value, SoundEffectGroup& group);
  bool memberLine(const std::string& line, GroupMembers& members, bool& matched);
  bool pageLine(const std::string& value, KeyedList<PageEntry>& page, const char* label);
  bool midiSetupBlock(SongGroup& group);
  bool channelLine(const std::string& value, SongGroup& group, MidiSetupEntry*& entry, const std::string& setupName,
                   const std::string& fileName);
  bool startGroup();

  Conversion& c_;
  LineReader lines_;
  std::string name_;
  Section section_ = Section::Main;
  SongGroup* songGroup_ = nullptr;
  SoundEffectGroup* effectGroup_ = nullptr;
  uint16_t effectCounter_ = 0;
};

bool ScriptReader::fail(const char* fmt, const std::string& text) {
  c_.out.print(fmt, text.c_str());
  c_.out.print("*** In <%s>, line %d.\n", name_.c_str(), lines_.lineNumber());
  return false;
}

// Names longer than their fields are refused where they are read.
bool ScriptReader::fits(const std::string& name, size_t limit, const char* what) {
  if (name.size() <= limit) return true;
  const std::string message = common::format("*** %s <%%s> is longer than %zu characters.\n", what, limit);
  return fail(message.c_str(), name);
}

// Group, effect and setup names become include symbols, where each character
// that no symbol can hold is written as '_'. The name itself is kept: the
// project description selects groups by it.
void ScriptReader::warnUnlessSymbol(const std::string& name) {
  if (isSymbolText(name)) return;
  c_.out.print("*** Warning: Name <%s> holds characters that cannot stand in an include symbol; each is written as '_'.\n",
               name.c_str());
  c_.out.print("*** In <%s>, line %d.\n", name_.c_str(), lines_.lineNumber());
}

bool ScriptReader::read() {
  std::string text;
  while (lines_.next(text)) {
    if (!line(text)) return false;
  }
  return true;
}

bool ScriptReader::line(const std::string& text) {
  if (text.front() == '[') {
    for (const auto& marker : kSections) {
      if (text == marker.text) {
        section_ = marker.section;
        if (section_ == Section::Songgroup || section_ == Section::SFXgroup) return startGroup();
        return true;
      }
    }
    return fail("*** Unknown section marker found.\n<%s>\n", text);
  }
  switch (section_) {
    case Section::Main: return mainLine(text);
    case Section::Samples: return sampleLine(text);
    case Section::Soundmacros: return macroLine(text);
    case Section::Keymaps: return keymapLine(text);
    case Section::Layers: return layerLine(text);
    case Section::Tables: return tableLine(text);
    case Section::Songgroup: return songGroupLine(text);
    case Section::SFXgroup: return effectGroupLine(text);
  }
  return false;
}

bool ScriptReader::startGroup() {
  // Group numbers are 16-bit; 0xFFFF stays free as "no group".
  if (c_.model.songGroups.size() + c_.model.soundEffectGroups.size() >= 0xFFFF) {
    return fail("*** Too many groups in the merged project.\n");
  }
  if (section_ == Section::Songgroup) {
    songGroup_ = &c_.model.addSongGroup();
    c_.verbosePrint("Songgroup:\n");
  } else {
    effectGroup_ = &c_.model.addSoundEffectGroup();
    c_.verbosePrint("FXgroup:\n");
  }
  return true;
}

bool ScriptReader::mainLine(const std::string& text) {
  std::string value;
  if (!matchKey(text, "Projectpath", value)) return fail("*** Unknown token in main section.\n<%s>\n", text);
  c_.model.originalProjectPaths.push_back(value);
  c_.verbosePrint("Original project path: %s\n", value.c_str());
  return true;
}

bool ScriptReader::sampleLine(const std::string& text) {
  FieldReader fields(text);
  const uint16_t id = c_.ids.sample(uint16_t(fields.number()));
  const std::string file(fields.text());
  if (!fits(file, kMaxSampleFileNameLength, "Sample file name")) return false;
  const uint8_t type = uint8_t(fields.number());  // digits stop at a '(' comment
  SampleRecord& sample = c_.model.samples.replaceOrAppend(id);
  sample.fileName = file;
  sample.type = type;
  c_.verbosePrint("Sample ID %d is file <%s> (type=%d)\n", id, file.c_str(), type);
  return true;
}

bool ScriptReader::macroLine(const std::string& text) {
  FieldReader fields(text);
  const uint16_t id = c_.ids.macro(uint16_t(fields.number()));
  const std::string file(fields.text());
  if (!fits(file, kMaxNameLength, "Macro file name")) return false;
  MacroRecord& macro = c_.model.macros.replaceOrAppend(id);
  macro.fileName = file;
  macro.scriptIndex = uint16_t(c_.ids.currentScript());
  c_.verbosePrint("Macro ID %d is file <%s>\n", id, macro.fileName.c_str());
  return true;
}

bool ScriptReader::keymapLine(const std::string& text) {
  FieldReader fields(text);
  const uint16_t id = c_.ids.keymap(uint16_t(fields.number()));
  const std::string file(fields.text());
  if (!fits(file, kMaxNameLength, "Keymap file name")) return false;
  c_.verbosePrint("Keymap ID %d is file <%s>\n", id, file.c_str());
  const std::filesystem::path path = c_.basePaths.resolve(file);
  std::vector<uint8_t> bytes;
  std::string error;
  if (file.empty() || !readProjectFile(path, bytes, error)) return fail("*** Could not read keymap file.\n");
  if (bytes.size() < kKeymapFileSize) {
    c_.out.print("*** Warning: Keymap file <%s> holds %zu bytes instead of %zu; the missing keys are left empty.\n",
                 common::displayPath(path).c_str(), bytes.size(), kKeymapFileSize);
  }
  KeymapRecord& keymap = c_.model.keymaps.replaceOrAppend(id);
  keymap.fileName = file;
  bytes.resize(kKeymapFileSize, 0);
  common::ByteReader in(bytes, common::Endian::Little);
  for (KeymapEntry& key : keymap.keys) {
    const uint16_t object = in.u16();
    key.objectId = object == 0 ? kNoObject : c_.ids.objectReference(object);
    key.bytes = {in.u8(), in.u8()};
    key.word = in.u16();
    in.skip(2);
  }
  return true;
}

bool ScriptReader::layerLine(const std::string& text) {
  FieldReader fields(text);
  const uint16_t id = c_.ids.layer(uint16_t(fields.number()));
  const std::string file(fields.text());
  if (!fits(file, kMaxNameLength, "Layer file name")) return false;
  c_.verbosePrint("Layer ID %d is file <%s>\n", id, file.c_str());
  const std::filesystem::path path = c_.basePaths.resolve(file);
  std::vector<uint8_t> bytes;
  std::string error;
  if (file.empty() || !readProjectFile(path, bytes, error)) {
    return fail("*** Could not open layer file <%s> for input.\n", common::displayPath(path));
  }
  LayerRecord& layer = c_.model.layers.replaceOrAppend(id);
  layer.fileName = file;
  common::ByteReader in(bytes, common::Endian::Little);
  // A record cut short by the end of the file is dropped.
  for (size_t n = bytes.size() / kLayerRecordSize; n > 0; --n) {
    LayerEntry entry;
    const uint16_t object = in.u16();
    entry.objectId = object == 0 ? kNoObject : c_.ids.objectReference(object);
    entry.bytes = {in.u8(), in.u8(), in.u8(), in.u8()};
    entry.lastByte = in.u8();
    entry.word = in.u16();
    layer.entries.push_back(entry);
  }
  return true;
}

bool ScriptReader::tableLine(const std::string& text) {
  FieldReader fields(text);
  const uint16_t id = c_.ids.table(uint16_t(fields.number()));
  const std::string file(fields.text());
  if (!fits(file, kMaxNameLength, "Curve file name")) return false;
  TableRecord& table = c_.model.tables.replaceOrAppend(id);
  table.fileName = file;
  c_.verbosePrint("Curve ID %d is file <%s>\n", id, table.fileName.c_str());
  return true;
}

bool ScriptReader::memberLine(const std::string& text, GroupMembers& members, bool& matched) {
  std::string value;
  matched = true;
  if (matchKey(text, "Soundmacro", value)) {
    members.macros.push_back(c_.ids.macro(uint16_t(FieldReader(value).number())));
    c_.verbosePrint("  Macro: %d\n", members.macros.back());
  } else if (matchKey(text, "Sample", value)) {
    members.samples.push_back(c_.ids.sample(uint16_t(FieldReader(value).number())));
    c_.verbosePrint("  Sample: %d\n", members.samples.back());
  } else if (matchKey(text, "Table", value)) {
    members.tables.push_back(c_.ids.table(uint16_t(FieldReader(value).number())));
    c_.verbosePrint("  Curve: %d\n", members.tables.back());
  } else if (matchKey(text, "Keymap", value)) {
    members.keymaps.push_back(c_.ids.keymap(uint16_t(FieldReader(value).number())));
    c_.verbosePrint("  Keymap: %d\n", members.keymaps.back());
  } else if (matchKey(text, "Layer", value)) {
    members.layers.push_back(c_.ids.layer(uint16_t(FieldReader(value).number())));
    c_.verbosePrint("  Layer: %d\n", members.layers.back());
  } else {
    matched = false;
  }
  return true;
}

bool ScriptReader::pageLine(const std::string& value, KeyedList<PageEntry>& page, const char* label) {
  FieldReader fields(value);
  const uint32_t program = fields.number();
  PageEntry& entry = page.replaceOrAppend(program);
  entry.objectId = c_.ids.objectReference(uint16_t(fields.number()));
  entry.pri = uint8_t(fields.number());
  entry.mv = uint8_t(fields.number());
  entry.dm = uint8_t(fields.number());
  c_.verbosePrint("  %s[%d]: %d: pri=%d mv=%d dm=%d\n", label, int(program), entry.objectId, entry.pri, entry.mv,
                  entry.dm);
  return true;
}

bool ScriptReader::songGroupLine(const std::string& text) {
  SongGroup& group = *songGroup_;
  std::string value;
  if (matchKey(text, "Name", value)) {
    if (!fits(value, kMaxNameLength, "Song group name")) return false;
    warnUnlessSymbol(value);
    const SongGroup* existing = c_.model.songGroupByName(value);
    if (existing && existing != &group) {
      c_.out.print("*** Warning: Song group name <%s> is already defined in another project.\n", value.c_str());
    }
    c_.model.setName(group, value);
    c_.verbosePrint("  Name: <%s>\n", group.name.c_str());
    return true;
  }
  if (matchKey(text, "NormPageEntry", value)) return pageLine(value, group.normalPage, "Norm");
  if (matchKey(text, "DrumPageEntry", value)) return pageLine(value, group.drumPage, "Drum");
  if (matchKey(text, "MidiSetup", value)) return midiSetupBlock(group);
  bool matched = false;
  memberLine(text, group.members, matched);
  if (!matched) return fail("*** Unknown token in song group section.\n<%s>\n", text);
  return true;
}

bool ScriptReader::midiSetupBlock(SongGroup& group) {
  std::string text;
  if (!lines_.next(text) || text.front() != '{') return fail("*** Missing '{' at begin of MIDI setup.\n");
  c_.verbosePrint("  MIDIsetup:\n");
  std::string setupName;
  std::string fileName;
  MidiSetupEntry* entry = nullptr;
  std::string value;
  while (lines_.next(text)) {
    if (text.front() == '}') return true;
    if (matchKey(text, "Name", value)) {
      if (value.empty()) return fail("*** MIDIsetup does not contain a valid name.\n");
      if (!fits(value, kMaxMidiSetupNameLength, "MIDI setup name")) return false;
      // The name becomes the song file's name in the output folder.
      if (!namesFileInOutputFolder(value)) {
        return fail("*** MIDI setup name <%s> cannot name a file in the output folder.\n", value);
      }
      warnUnlessSymbol(value);
      setupName = value;
      c_.verbosePrint("    Name: <%s>\n", setupName.c_str());
    } else if (matchKey(text, "Filename", value)) {
      if (value.empty()) {
        c_.out.print("*** Warning: MIDIsetup does not contain a valid song filename. Using name of group.\n");
        value = setupName;
      }
      if (!fits(value, kMaxNameLength, "MIDI file name")) return false;
      fileName = value;
      c_.verbosePrint("    File: <%s>\n", fileName.c_str());
    } else if (matchKey(text, "Channelsetup", value)) {
      if (!channelLine(value, group, entry, setupName, fileName)) return false;
    }
  }
  return fail("*** Missing '}' at end of MIDI setup.\n");
}

bool ScriptReader::channelLine(const std::string& value, SongGroup& group, MidiSetupEntry*& entry,
                               const std::string& setupName, const std::string& fileName) {
  FieldReader fields(value);
  const uint32_t channel = fields.number();
  if (channel < 1 || channel > kMidiChannels) {
    return fail("*** MIDI channel number must be 1 to 16 (found: %s).\n", std::to_string(channel));
  }
  if (!entry) {
    if (setupName.empty() || fileName.empty()) {
      return fail("*** Name and filename of MIDI setups must be defined before any data.\n");
    }
    const uint16_t id = midiSetupId(c_, setupName, fileName);
    c_.verbosePrint("    ID=%d\n", id);
    entry = &group.midiSetups.replaceOrAppend(id);
    entry->name = setupName;
    entry->setupId = id;
  }
  ChannelSetup& ch = entry->channels[channel - 1];
  ch.prg = uint8_t(fields.number());
  ch.vol = uint8_t(fields.number());
  ch.pan = uint8_t(fields.number());
  ch.rev = uint8_t(fields.number());
  ch.cho = uint8_t(fields.number());
  c_.verbosePrint("    Channel[%d]: prg=%d vol=%d pan=%d rev=%d cho=%d\n", int(channel - 1), ch.prg, ch.vol, ch.pan,
                  ch.rev, ch.cho);
  return true;
}

bool ScriptReader::effectGroupLine(const std::string& text) {
  SoundEffectGroup& group = *effectGroup_;
  std::string value;
  if (matchKey(text, "Name", value)) {
    if (!fits(value, kMaxNameLength, "FX group name")) return false;
    warnUnlessSymbol(value);
    const SoundEffectGroup* existing = c_.model.soundEffectGroupByName(value);
    if (existing && existing != &group) {
      c_.out.print("*** Warning: FX group name <%s> is already defined in another project.\n", value.c_str());
    }
    c_.model.setName(group, value);
    return true;
  }
  if (matchKey(text, "SFXEntry", value)) return effectLine(value, group);
  bool matched = false;
  memberLine(text, group.members, matched);
  if (!matched) return fail("*** Unknown token in SFX group section.\n<%s>\n", text);
  return true;
}

bool ScriptReader::effectLine(const std::string& value, SoundEffectGroup& group) {
  FieldReader fields(value);
  fields.number();  // the exporting tool's own number; the line order decides the ID
  const uint16_t id = c_.ids.soundEffect(effectCounter_++);
  SoundEffectEntry fx;
  fx.objectId = c_.ids.objectReference(uint16_t(fields.number()));
  fx.pri = uint8_t(fields.number());
  fx.mv = uint8_t(fields.number());
  fx.dv = uint8_t(fields.number());
  fx.dp = uint8_t(fields.number());
  fx.dk = uint8_t(fields.number());
  fx.name = std::string(fields.text());
  if (!fits(fx.name, kMaxEffectNameLength, "FX name")) return false;
  warnUnlessSymbol(fx.name);
  group.effects.replaceOrAppend(id) = fx;
  c_.verbosePrint("  Fx[%d]: %d: pri=%d mv=%d dv=%d dp=%d dk=%d\n", id, fx.objectId, fx.pri, fx.mv, fx.dv, fx.dp,
                  fx.dk);
  return true;
}

bool readMacroDefinitionsOnce(Conversion& c) {
  if (c.macroDefinitionsRead || c.settings.handheld()) return true;
  c.verbosePrint("Macrodefinitions:\n\n");
  if (!readMacroDefinitions(c.basePaths.resolve("macrodef.vqd"), c.commands, c.out, c.verbose())) return false;
  c.verbosePrint("\n\n");
  c.macroDefinitionsRead = true;
  return true;
}

}  // namespace

bool parseExportScript(Conversion& c, std::string text, const std::string& name, int scriptIndex) {
  c.ids.startScript(scriptIndex);
  ScriptReader reader(c, std::move(text), name);
  return reader.read();
}

bool readExportScript(Conversion& c, const std::string& fileName, int scriptIndex) {
  if (!readMacroDefinitionsOnce(c)) return false;
  const std::filesystem::path path = c.basePaths.resolve(fileName);
  std::string text;
  std::string error;
  // Named on the command line, so it may be a pipe.
  if (!common::readStream(path, text, error)) {
    c.out.print("*** Could not read export script <%s>.\n", fileName.c_str());
    return false;
  }
  return parseExportScript(c, std::move(text), common::displayPath(path), scriptIndex);
}

}  // namespace voconv
