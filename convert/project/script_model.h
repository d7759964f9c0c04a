// The script model: what one export script says, line by line, before any ID
// is renumbered or any file it names is read. The parse makes it from the
// script's text alone; the merge replays its steps in order, so that each
// message is printed where the line that causes it stands.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "convert/foundation/id_tables.h"
#include "convert/project/project_model.h"

namespace voconv {

enum class GroupKind { Song, SoundEffect };

// "Projectpath=...".
struct ProjectPathStep {
  std::string path;
};

// An object line of the [Samples], [Soundmacros], [Keymaps], [Layers] or
// [Tables] section. With `idOnly` the line is refused after its ID was
// renumbered (its file name is too long): a failure step follows.
struct ObjectStep {
  IdKind kind = IdKind::Sample;
  uint16_t number = 0;
  std::string fileName;
  uint8_t sampleType = 0;
  bool idOnly = false;
};

// A [Songgroup] or [SFXgroup] marker: a new group starts.
struct GroupStartStep {
  GroupKind kind = GroupKind::Song;
};

// "Name=..." of the current group.
struct GroupNameStep {
  GroupKind kind = GroupKind::Song;
  std::string name;
};

// "Soundmacro=", "Sample=", "Table=", "Keymap=" or "Layer=" of the current group.
struct MemberStep {
  GroupKind group = GroupKind::Song;
  IdKind kind = IdKind::Sample;
  uint16_t number = 0;
};

// "NormPageEntry=..." or "DrumPageEntry=...".
struct PageStep {
  bool drum = false;
  uint32_t program = 0;
  uint16_t object = 0;
  uint8_t pri = 0;
  uint8_t mv = 0;
  uint8_t dm = 0;
};

// A MIDI setup block opens, and its "Name=" and "Filename=" lines.
struct SetupStartStep {};
struct SetupNameStep {
  std::string name;
};
struct SetupFileStep {
  std::string fileName;
};

// "Channelsetup=..."; the first of a setup registers the setup (and makes
// its song when the setup is new).
struct ChannelStep {
  bool startsSetup = false;
  std::string setupName;
  std::string fileName;
  uint32_t channel = 1;  // 1 to 16
  ChannelSetup values;
};

// "SFXEntry=..."; `counter` is the effect's number within the script. A
// name that cannot stand in a symbol carries its warning in `notice`; with
// `idOnly` the line is refused after its IDs were renumbered.
struct EffectStep {
  uint16_t counter = 0;
  SoundEffectEntry entry;
  std::string notice;
  bool idOnly = false;
};

// Text printed as it is (warnings the text alone gives).
struct NoticeStep {
  std::string text;
};

// The script fails here, with this message; nothing after it is read.
struct FailureStep {
  std::string text;
};

struct ScriptStep {
  int line = 0;
  std::variant<ProjectPathStep, ObjectStep, GroupStartStep, GroupNameStep, MemberStep, PageStep, SetupStartStep,
               SetupNameStep, SetupFileStep, ChannelStep, EffectStep, NoticeStep, FailureStep>
      what;
};

struct ScriptModel {
  std::string name;  // the script as messages name it
  std::vector<ScriptStep> steps;
  // Whether the script ends with a failure step.
  bool fails() const { return !steps.empty() && std::holds_alternative<FailureStep>(steps.back().what); }
};

}  // namespace voconv
