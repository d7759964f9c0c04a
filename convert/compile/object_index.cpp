#include "convert/compile/object_index.h"

#include "convert/foundation/fatal_error.h"

namespace voconv {
namespace {

constexpr std::size_t kIdCount = 0x10000;
constexpr uint8_t kIndexFlagBits = 0xC0;
constexpr int kTooManyExitCode = 1;

// Gives `object` the next index of its kind when the kind has room left.
void number(TargetObject& object, std::vector<TargetObject*>& list, std::vector<int16_t>* ids, std::size_t limit) {
  if (list.size() >= limit) return;
  object.index = int(list.size());
  if (ids) (*ids)[object.id] = int16_t(object.index);
  list.push_back(&object);
}

}  // namespace

ObjectIndex ObjectIndex::build(TargetObjectList& objects, CompileTarget target) {
  const CompileLimits& limits = limitsFor(target);
  ObjectIndex index;
  index.macroIds_.assign(kIdCount, -1);
  index.tableIds_.assign(kIdCount, -1);
  index.sampleIds_.assign(kIdCount, -1);
  for (TargetObject& object : objects.entries()) {
    object.flags &= uint8_t(~kIndexFlagBits);
    object.index = -1;
    switch (object.type) {
      case TargetObjectType::Macro: number(object, index.macros, &index.macroIds_, limits.macros); break;
      case TargetObjectType::Table: number(object, index.tables, &index.tableIds_, limits.tables); break;
      case TargetObjectType::Sample: number(object, index.samples, &index.sampleIds_, limits.samples); break;
      case TargetObjectType::SoundEffectGroup: number(object, index.effectGroups, nullptr, SIZE_MAX); break;
      case TargetObjectType::SongGroup:
        if (index.songGroups.size() >= limits.songGroups) {
          throw FatalError("*** ERROR: Too many song groups!", kTooManyExitCode);
        }
        number(object, index.songGroups, nullptr, limits.songGroups);
        break;
      case TargetObjectType::MidiSetup:
        if (index.midiSetups.size() >= limits.midiSetups) {
          throw FatalError("*** ERROR: Too many MIDI setups!", kTooManyExitCode);
        }
        number(object, index.midiSetups, nullptr, limits.midiSetups);
        break;
    }
  }
  return index;
}

}  // namespace voconv
