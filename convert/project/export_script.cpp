#include "export_script.h"

#include <string_view>

#include "common/output.h"
#include "convert/foundation/file_names.h"
#include "convert/foundation/line_reader.h"
#include "convert/include_file.h"

namespace voconv {

namespace {

enum class Section { Main, Samples, Soundmacros, Layers, Keymaps, Tables, Songgroup, SFXgroup };

struct SectionMarker {
  std::string_view text;
  Section section;
};
constexpr SectionMarker kSections[] = {
    {"[Samples]", Section::Samples},   {"[Soundmacros]", Section::Soundmacros}, {"[Layers]", Section::Layers},
    {"[Keymaps]", Section::Keymaps},   {"[Tables]", Section::Tables},           {"[Songgroup]", Section::Songgroup},
    {"[SFXgroup]", Section::SFXgroup},
};

// The object sections: the kind of ID each line holds, how long its file
// name may be and what messages call it.
struct ObjectSection {
  Section section;
  IdKind kind;
  size_t limit;
  const char* what;
};
constexpr ObjectSection kObjectSections[] = {
    {Section::Samples, IdKind::Sample, kMaxSampleFileNameLength, "Sample file name"},
    {Section::Soundmacros, IdKind::SoundMacro, kMaxNameLength, "Macro file name"},
    {Section::Keymaps, IdKind::Keymap, kMaxNameLength, "Keymap file name"},
    {Section::Layers, IdKind::Layer, kMaxNameLength, "Layer file name"},
    {Section::Tables, IdKind::Table, kMaxNameLength, "Curve file name"},
};

struct MemberKey {
  std::string_view key;
  IdKind kind;
};
constexpr MemberKey kMemberKeys[] = {
    {"Soundmacro", IdKind::SoundMacro}, {"Sample", IdKind::Sample}, {"Table", IdKind::Table},
    {"Keymap", IdKind::Keymap},         {"Layer", IdKind::Layer},
};

// Matches a key line by its leading characters; the value starts one
// character after the key (normally past the '=').
bool matchKey(const std::string& line, std::string_view key, std::string& value) {
  if (line.compare(0, key.size(), key) != 0) return false;
  value = line.size() > key.size() ? line.substr(key.size() + 1) : std::string();
  return true;
}

class ScriptParser {
 public:
  ScriptParser(std::string text, const std::string& name) : lines_(std::move(text)) { model_.name = name; }

  ScriptModel parse();

 private:
  template <typename Step>
  void add(Step step) {
    model_.steps.push_back(ScriptStep{lines_.lineNumber(), std::move(step)});
  }
  bool fail(const char* fmt, const std::string& text = {});
  bool fits(const std::string& name, size_t limit, const char* what);
  std::string symbolWarning(const std::string& name) const;
  bool line(const std::string& line);
  bool objectLine(const ObjectSection& section, const std::string& line);
  bool songGroupLine(const std::string& line);
  bool effectGroupLine(const std::string& line);
  bool groupNameLine(GroupKind kind, const std::string& value, const char* what);
  bool effectLine(const std::string& value);
  bool memberLine(GroupKind group, const std::string& line);
  void pageLine(const std::string& value, bool drum);
  bool midiSetupBlock();
  bool setupLine(const std::string& text, std::string& setupName, std::string& fileName, bool& started);
  bool channelLine(const std::string& value, const std::string& setupName, const std::string& fileName, bool& started);

  LineReader lines_;
  ScriptModel model_;
  Section section_ = Section::Main;
  uint16_t effectCounter_ = 0;
};

bool ScriptParser::fail(const char* fmt, const std::string& text) {
  add(FailureStep{common::format(fmt, text.c_str()) +
                  common::format("*** In <%s>, line %d.\n", model_.name.c_str(), lines_.lineNumber())});
  return false;
}

// Names longer than their fields are refused where they are read.
bool ScriptParser::fits(const std::string& name, size_t limit, const char* what) {
  if (name.size() <= limit) return true;
  const std::string message = common::format("*** %s <%%s> is longer than %zu characters.\n", what, limit);
  return fail(message.c_str(), name);
}

// Group, effect and setup names become include symbols, where each character
// that no symbol can hold is written as '_'. The name itself is kept: the
// project description selects groups by it.
std::string ScriptParser::symbolWarning(const std::string& name) const {
  if (isSymbolText(name)) return {};
  return common::format(
             "*** Warning: Name <%s> holds characters that cannot stand in an include symbol; each is written as "
             "'_'.\n",
             name.c_str()) +
         common::format("*** In <%s>, line %d.\n", model_.name.c_str(), lines_.lineNumber());
}

ScriptModel ScriptParser::parse() {
  std::string text;
  while (lines_.next(text)) {
    if (!line(text)) break;
  }
  return std::move(model_);
}

bool ScriptParser::line(const std::string& text) {
  if (text.front() == '[') {
    for (const auto& marker : kSections) {
      if (text == marker.text) {
        section_ = marker.section;
        if (section_ == Section::Songgroup) add(GroupStartStep{GroupKind::Song});
        if (section_ == Section::SFXgroup) add(GroupStartStep{GroupKind::SoundEffect});
        return true;
      }
    }
    return fail("*** Unknown section marker found.\n<%s>\n", text);
  }
  for (const ObjectSection& objects : kObjectSections) {
    if (objects.section == section_) return objectLine(objects, text);
  }
  std::string value;
  switch (section_) {
    case Section::Main:
      if (!matchKey(text, "Projectpath", value)) return fail("*** Unknown token in main section.\n<%s>\n", text);
      add(ProjectPathStep{value});
      return true;
    case Section::Songgroup: return songGroupLine(text);
    case Section::SFXgroup: return effectGroupLine(text);
    default: return false;
  }
}

bool ScriptParser::objectLine(const ObjectSection& section, const std::string& text) {
  FieldReader fields(text);
  ObjectStep step;
  step.kind = section.kind;
  step.number = uint16_t(fields.number());
  step.fileName = std::string(fields.text());
  if (step.fileName.size() > section.limit) {
    step.idOnly = true;  // the ID was taken before the name was refused
    add(step);
    return fits(step.fileName, section.limit, section.what);
  }
  if (section.kind == IdKind::Sample) step.sampleType = uint8_t(fields.number());  // digits stop at a '(' comment
  add(std::move(step));
  return true;
}

bool ScriptParser::groupNameLine(GroupKind kind, const std::string& value, const char* what) {
  if (!fits(value, kMaxNameLength, what)) return false;
  if (const std::string warning = symbolWarning(value); !warning.empty()) add(NoticeStep{warning});
  add(GroupNameStep{kind, value});
  return true;
}

bool ScriptParser::memberLine(GroupKind group, const std::string& text) {
  std::string value;
  for (const MemberKey& member : kMemberKeys) {
    if (matchKey(text, member.key, value)) {
      add(MemberStep{group, member.kind, uint16_t(FieldReader(value).number())});
      return true;
    }
  }
  return false;
}

void ScriptParser::pageLine(const std::string& value, bool drum) {
  FieldReader fields(value);
  PageStep page;
  page.drum = drum;
  page.program = fields.number();
  page.object = uint16_t(fields.number());
  page.pri = uint8_t(fields.number());
  page.mv = uint8_t(fields.number());
  page.dm = uint8_t(fields.number());
  add(page);
}

bool ScriptParser::songGroupLine(const std::string& text) {
  std::string value;
  if (matchKey(text, "Name", value)) return groupNameLine(GroupKind::Song, value, "Song group name");
  if (matchKey(text, "NormPageEntry", value)) {
    pageLine(value, false);
    return true;
  }
  if (matchKey(text, "DrumPageEntry", value)) {
    pageLine(value, true);
    return true;
  }
  if (matchKey(text, "MidiSetup", value)) return midiSetupBlock();
  if (!memberLine(GroupKind::Song, text)) return fail("*** Unknown token in song group section.\n<%s>\n", text);
  return true;
}

bool ScriptParser::midiSetupBlock() {
  std::string text;
  if (!lines_.next(text) || text.front() != '{') return fail("*** Missing '{' at begin of MIDI setup.\n");
  add(SetupStartStep{});
  std::string setupName;
  std::string fileName;
  bool started = false;
  while (lines_.next(text)) {
    if (text.front() == '}') return true;
    if (!setupLine(text, setupName, fileName, started)) return false;
  }
  return fail("*** Missing '}' at end of MIDI setup.\n");
}

bool ScriptParser::setupLine(const std::string& text, std::string& setupName, std::string& fileName, bool& started) {
  std::string value;
  if (matchKey(text, "Name", value)) {
    if (value.empty()) return fail("*** MIDIsetup does not contain a valid name.\n");
    if (!fits(value, kMaxMidiSetupNameLength, "MIDI setup name")) return false;
    // The name becomes the song file's name in the output folder.
    if (!namesFileInOutputFolder(value)) {
      return fail("*** MIDI setup name <%s> cannot name a file in the output folder.\n", value);
    }
    if (const std::string warning = symbolWarning(value); !warning.empty()) add(NoticeStep{warning});
    setupName = value;
    add(SetupNameStep{setupName});
  } else if (matchKey(text, "Filename", value)) {
    if (value.empty()) {
      add(NoticeStep{"*** Warning: MIDIsetup does not contain a valid song filename. Using name of group.\n"});
      value = setupName;
    }
    if (!fits(value, kMaxNameLength, "MIDI file name")) return false;
    fileName = value;
    add(SetupFileStep{fileName});
  } else if (matchKey(text, "Channelsetup", value)) {
    return channelLine(value, setupName, fileName, started);
  }
  return true;
}

bool ScriptParser::channelLine(const std::string& value, const std::string& setupName, const std::string& fileName,
                               bool& started) {
  FieldReader fields(value);
  ChannelStep step;
  step.channel = fields.number();
  if (step.channel < 1 || step.channel > kMidiChannels) {
    return fail("*** MIDI channel number must be 1 to 16 (found: %s).\n", std::to_string(step.channel));
  }
  if (!started) {
    if (setupName.empty() || fileName.empty()) {
      return fail("*** Name and filename of MIDI setups must be defined before any data.\n");
    }
    step.startsSetup = started = true;
    step.setupName = setupName;
    step.fileName = fileName;
  }
  step.values.prg = uint8_t(fields.number());
  step.values.vol = uint8_t(fields.number());
  step.values.pan = uint8_t(fields.number());
  step.values.rev = uint8_t(fields.number());
  step.values.cho = uint8_t(fields.number());
  add(std::move(step));
  return true;
}

bool ScriptParser::effectGroupLine(const std::string& text) {
  std::string value;
  if (matchKey(text, "Name", value)) return groupNameLine(GroupKind::SoundEffect, value, "FX group name");
  if (matchKey(text, "SFXEntry", value)) return effectLine(value);
  if (!memberLine(GroupKind::SoundEffect, text)) return fail("*** Unknown token in SFX group section.\n<%s>\n", text);
  return true;
}

bool ScriptParser::effectLine(const std::string& value) {
  FieldReader fields(value);
  fields.number();  // the exporting tool's own number; the line order decides the ID
  EffectStep step;
  step.counter = effectCounter_++;
  SoundEffectEntry& fx = step.entry;
  fx.objectId = uint16_t(fields.number());
  fx.pri = uint8_t(fields.number());
  fx.mv = uint8_t(fields.number());
  fx.dv = uint8_t(fields.number());
  fx.dp = uint8_t(fields.number());
  fx.dk = uint8_t(fields.number());
  fx.name = std::string(fields.text());
  if (fx.name.size() > kMaxEffectNameLength) {
    step.idOnly = true;  // the IDs were taken before the name was refused
    const std::string name = fx.name;
    add(std::move(step));
    return fits(name, kMaxEffectNameLength, "FX name");
  }
  step.notice = symbolWarning(fx.name);
  add(std::move(step));
  return true;
}

}  // namespace

ScriptModel parseExportScript(std::string text, const std::string& name) {
  return ScriptParser(std::move(text), name).parse();
}

}  // namespace voconv
