#include "script_merge.h"

#include <algorithm>
#include <array>

#include "common/byte_order.h"
#include "common/paths.h"
#include "convert/foundation/object_id.h"

namespace voconv {

namespace {

class ScriptMerge {
 public:
  ScriptMerge(const ScriptModel& script, const ScriptFiles& files, MergeTarget target, SongRuns& songs,
              common::Output& out, bool verbose)
      : script_(script), files_(files), t_(target), songs_(songs), out_(out), verbose_(verbose) {}

  bool run();

 private:
  template <typename... Args>
  void verbosePrint(const char* fmt, Args... args) {
    if (verbose_) out_.print(fmt, args...);
  }
  bool step(size_t index);
  bool object(const ObjectStep& step, size_t index);
  bool keymap(uint16_t id, const ObjectStep& step, size_t index);
  bool layer(uint16_t id, const ObjectStep& step, size_t index);
  bool groupStart(GroupKind kind);
  void groupName(const GroupNameStep& step);
  void member(const MemberStep& step);
  void page(const PageStep& step);
  void channel(const ChannelStep& step);
  void effect(const EffectStep& step);
  uint16_t setupId(const ChannelStep& step);
  GroupMembers& members(GroupKind group);
  uint16_t objectId(IdKind kind, uint16_t number);

  const ScriptModel& script_;
  const ScriptFiles& files_;
  MergeTarget t_;
  SongRuns& songs_;
  common::Output& out_;
  bool verbose_;
  int line_ = 0;
  SongGroup* songGroup_ = nullptr;
  SoundEffectGroup* effectGroup_ = nullptr;
  MidiSetupEntry* setup_ = nullptr;
};

bool ScriptMerge::run() {
  for (size_t i = 0; i < script_.steps.size(); ++i) {
    line_ = script_.steps[i].line;
    if (!step(i)) return false;
  }
  return true;
}

bool ScriptMerge::step(size_t index) {
  const auto& what = script_.steps[index].what;
  if (const auto* s = std::get_if<ObjectStep>(&what)) return object(*s, index);
  if (const auto* s = std::get_if<ProjectPathStep>(&what)) {
    t_.model.originalProjectPaths.push_back(s->path);
    verbosePrint("Original project path: %s\n", s->path.c_str());
  } else if (const auto* s = std::get_if<GroupStartStep>(&what)) {
    return groupStart(s->kind);
  } else if (const auto* s = std::get_if<GroupNameStep>(&what)) {
    groupName(*s);
  } else if (const auto* s = std::get_if<MemberStep>(&what)) {
    member(*s);
  } else if (const auto* s = std::get_if<PageStep>(&what)) {
    page(*s);
  } else if (std::holds_alternative<SetupStartStep>(what)) {
    setup_ = nullptr;
    verbosePrint("  MIDIsetup:\n");
  } else if (const auto* s = std::get_if<SetupNameStep>(&what)) {
    verbosePrint("    Name: <%s>\n", s->name.c_str());
  } else if (const auto* s = std::get_if<SetupFileStep>(&what)) {
    verbosePrint("    File: <%s>\n", s->fileName.c_str());
  } else if (const auto* s = std::get_if<ChannelStep>(&what)) {
    channel(*s);
  } else if (const auto* s = std::get_if<EffectStep>(&what)) {
    effect(*s);
  } else if (const auto* s = std::get_if<NoticeStep>(&what)) {
    out_.write(s->text);
  } else if (const auto* s = std::get_if<FailureStep>(&what)) {
    out_.write(s->text);
    return false;
  }
  return true;
}

// The merged ID of an object line's number, with its kind's flag.
uint16_t ScriptMerge::objectId(IdKind kind, uint16_t number) {
  switch (kind) {
    case IdKind::Keymap: return t_.ids.keymap(number);
    case IdKind::Layer: return t_.ids.layer(number);
    case IdKind::Table: return t_.ids.table(number);
    default: return t_.ids.renumber(kind, number);
  }
}

bool ScriptMerge::object(const ObjectStep& step, size_t index) {
  const uint16_t id = objectId(step.kind, step.number);
  if (step.idOnly) return true;
  const char* file = step.fileName.c_str();
  switch (step.kind) {
    case IdKind::Sample: {
      SampleRecord& sample = t_.model.samples.replaceOrAppend(id);
      sample.fileName = step.fileName;
      sample.type = step.sampleType;
      sample.scriptName = script_.name;
      sample.line = line_;
      verbosePrint("Sample ID %d is file <%s> (type=%d)\n", id, file, step.sampleType);
      return true;
    }
    case IdKind::SoundMacro: {
      MacroRecord& macro = t_.model.macros.replaceOrAppend(id);
      macro.fileName = step.fileName;
      macro.scriptIndex = uint16_t(t_.ids.currentScript());
      verbosePrint("Macro ID %d is file <%s>\n", id, file);
      return true;
    }
    case IdKind::Keymap: return keymap(id, step, index);
    case IdKind::Layer: return layer(id, step, index);
    case IdKind::Table:
      t_.model.tables.replaceOrAppend(id).fileName = step.fileName;
      verbosePrint("Curve ID %d is file <%s>\n", id, file);
      return true;
    case IdKind::SoundEffect: break;
  }
  return true;
}

bool ScriptMerge::keymap(uint16_t id, const ObjectStep& step, size_t index) {
  verbosePrint("Keymap ID %d is file <%s>\n", id, step.fileName.c_str());
  const LoadedFile& file = files_.byStep.at(index);
  if (!file.read) {
    out_.print("*** Could not read keymap file.\n*** In <%s>, line %d.\n", script_.name.c_str(), line_);
    return false;
  }
  if (file.bytes.size() < kKeymapFileSize) {
    out_.print("*** Warning: Keymap file <%s> holds %zu bytes instead of %zu; the missing keys are left empty.\n",
               common::displayPath(file.path).c_str(), file.bytes.size(), kKeymapFileSize);
  }
  KeymapRecord& keymap = t_.model.keymaps.replaceOrAppend(id);
  keymap.fileName = step.fileName;
  // A short file is read as if padded with zeros; a whole one where it lies.
  std::array<uint8_t, kKeymapFileSize> padded{};
  const uint8_t* bytes = file.bytes.data();
  if (file.bytes.size() < kKeymapFileSize) {
    std::copy(file.bytes.begin(), file.bytes.end(), padded.begin());
    bytes = padded.data();
  }
  // 8 bytes a key: object, two bytes, word, two unused bytes.
  for (KeymapEntry& key : keymap.keys) {
    const uint16_t object = common::loadU16(bytes, common::Endian::Little);
    key.objectId = object == 0 ? kNoObject : t_.ids.objectReference(object);
    key.bytes = {bytes[2], bytes[3]};
    key.word = common::loadU16(bytes + 4, common::Endian::Little);
    bytes += 8;
  }
  return true;
}

bool ScriptMerge::layer(uint16_t id, const ObjectStep& step, size_t index) {
  verbosePrint("Layer ID %d is file <%s>\n", id, step.fileName.c_str());
  const LoadedFile& file = files_.byStep.at(index);
  if (!file.read) {
    out_.print("*** Could not open layer file <%s> for input.\n*** In <%s>, line %d.\n",
               common::displayPath(file.path).c_str(), script_.name.c_str(), line_);
    return false;
  }
  LayerRecord& layer = t_.model.layers.replaceOrAppend(id);
  layer.fileName = step.fileName;
  // 9 bytes a record: object, four bytes, one byte, word. A record cut short
  // by the end of the file is dropped.
  const size_t records = file.bytes.size() / kLayerRecordSize;
  layer.entries.reserve(layer.entries.size() + records);
  for (const uint8_t* r = file.bytes.data(); r != file.bytes.data() + records * kLayerRecordSize;
       r += kLayerRecordSize) {
    LayerEntry entry;
    const uint16_t object = common::loadU16(r, common::Endian::Little);
    entry.objectId = object == 0 ? kNoObject : t_.ids.objectReference(object);
    entry.bytes = {r[2], r[3], r[4], r[5]};
    entry.lastByte = r[6];
    entry.word = common::loadU16(r + 7, common::Endian::Little);
    layer.entries.push_back(entry);
  }
  return true;
}

bool ScriptMerge::groupStart(GroupKind kind) {
  // Group numbers are 16-bit; 0xFFFF stays free as "no group".
  if (t_.model.songGroups.size() + t_.model.soundEffectGroups.size() >= 0xFFFF) {
    out_.print("*** Too many groups in the merged project.\n*** In <%s>, line %d.\n", script_.name.c_str(), line_);
    return false;
  }
  if (kind == GroupKind::Song) {
    songGroup_ = &t_.model.addSongGroup();
    verbosePrint("Songgroup:\n");
  } else {
    effectGroup_ = &t_.model.addSoundEffectGroup();
    verbosePrint("FXgroup:\n");
  }
  return true;
}

void ScriptMerge::groupName(const GroupNameStep& step) {
  const char* name = step.name.c_str();
  if (step.kind == GroupKind::Song) {
    const SongGroup* existing = t_.model.songGroupByName(step.name);
    if (existing && existing != songGroup_) {
      out_.print("*** Warning: Song group name <%s> is already defined in another project.\n", name);
    }
    t_.model.setName(*songGroup_, step.name);
    verbosePrint("  Name: <%s>\n", name);
    return;
  }
  const SoundEffectGroup* existing = t_.model.soundEffectGroupByName(step.name);
  if (existing && existing != effectGroup_) {
    out_.print("*** Warning: FX group name <%s> is already defined in another project.\n", name);
  }
  t_.model.setName(*effectGroup_, step.name);
}

GroupMembers& ScriptMerge::members(GroupKind group) {
  // The parser starts a group (GroupStartStep) before any line of its section.
  // NOLINTNEXTLINE(clang-analyzer-core.uninitialized.UndefReturn)
  return group == GroupKind::Song ? songGroup_->members : effectGroup_->members;
}

void ScriptMerge::member(const MemberStep& step) {
  GroupMembers& m = members(step.group);
  switch (step.kind) {
    case IdKind::SoundMacro:
      m.macros.push_back(t_.ids.macro(step.number));
      verbosePrint("  Macro: %d\n", m.macros.back());
      break;
    case IdKind::Sample:
      m.samples.push_back(t_.ids.sample(step.number));
      verbosePrint("  Sample: %d\n", m.samples.back());
      break;
    case IdKind::Table:
      m.tables.push_back(t_.ids.table(step.number));
      verbosePrint("  Curve: %d\n", m.tables.back());
      break;
    case IdKind::Keymap:
      m.keymaps.push_back(t_.ids.keymap(step.number));
      verbosePrint("  Keymap: %d\n", m.keymaps.back());
      break;
    case IdKind::Layer:
      m.layers.push_back(t_.ids.layer(step.number));
      verbosePrint("  Layer: %d\n", m.layers.back());
      break;
    case IdKind::SoundEffect: break;
  }
}

void ScriptMerge::page(const PageStep& step) {
  // Page lines occur only in a song group's section, after its GroupStartStep.
  // NOLINTNEXTLINE(clang-analyzer-core.CallAndMessage)
  PageEntry& entry = (step.drum ? songGroup_->drumPage : songGroup_->normalPage).replaceOrAppend(step.program);
  entry.objectId = t_.ids.objectReference(step.object);
  entry.pri = step.pri;
  entry.mv = step.mv;
  entry.dm = step.dm;
  verbosePrint("  %s[%d]: %d: pri=%d mv=%d dm=%d\n", step.drum ? "Drum" : "Norm", int(step.program), entry.objectId,
               entry.pri, entry.mv, entry.dm);
}

// A setup seen before keeps its ID and makes no song; a new one gets the next
// ID, and 0xFFFF stands for it when its song could not be made.
uint16_t ScriptMerge::setupId(const ChannelStep& step) {
  if (const MidiSetup* known = t_.midiSetups.find(step.setupName)) return known->id;
  const uint16_t id = t_.midiSetups.add(step.setupName).id;
  return songs_.make(t_.midiSetups, id, step.setupName, step.fileName, script_.name, line_) ? id : kNoObject;
}

void ScriptMerge::channel(const ChannelStep& step) {
  if (step.startsSetup) {
    const uint16_t id = setupId(step);
    verbosePrint("    ID=%d\n", id);
    setup_ = &songGroup_->midiSetups.replaceOrAppend(id);
    setup_->name = step.setupName;
    setup_->setupId = id;
  }
  ChannelSetup& ch = setup_->channels[step.channel - 1];
  ch = step.values;
  verbosePrint("    Channel[%d]: prg=%d vol=%d pan=%d rev=%d cho=%d\n", int(step.channel - 1), ch.prg, ch.vol, ch.pan,
               ch.rev, ch.cho);
}

void ScriptMerge::effect(const EffectStep& step) {
  const uint16_t id = t_.ids.soundEffect(step.counter);
  SoundEffectEntry fx = step.entry;
  fx.objectId = t_.ids.objectReference(step.entry.objectId);
  if (step.idOnly) return;
  out_.write(step.notice);
  effectGroup_->effects.replaceOrAppend(id) = fx;
  verbosePrint("  Fx[%d]: %d: pri=%d mv=%d dv=%d dp=%d dk=%d\n", id, fx.objectId, fx.pri, fx.mv, fx.dv, fx.dp, fx.dk);
}

}  // namespace

bool mergeScript(const ScriptModel& script, const ScriptFiles& files, int scriptIndex, MergeTarget target,
                 SongRuns& songs, common::Output& out, bool verbose) {
  target.ids.startScript(scriptIndex);
  return ScriptMerge(script, files, target, songs, out, verbose).run();
}

}  // namespace voconv
