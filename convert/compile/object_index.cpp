#include "convert/compile/object_index.h"

#include <algorithm>
#include <climits>

#include "convert/foundation/fatal_error.h"

namespace voconv {
namespace {

constexpr uint8_t kIndexFlagBits = 0xC0;
constexpr int kTooManyExitCode = 1;

// Gives `object` the next index of its kind when the kind has room left.
void number(TargetObject& object, std::vector<TargetObject*>& list, ObjectIndex::IdIndex* ids, std::size_t limit) {
  if (list.size() >= limit) return;
  object.index = int(list.size());
  if (ids) ids->emplace_back(object.id, object.index);
  list.push_back(&object);
}

}  // namespace

int ObjectIndex::lookUp(const IdIndex& ids, uint16_t id) {
  const auto found = std::lower_bound(ids.begin(), ids.end(), std::pair<uint16_t, int>(id, INT_MIN));
  return found != ids.end() && found->first == id ? found->second : -1;
}

ObjectIndex ObjectIndex::build(TargetObjectList& objects, CompileTarget target) {
  const CompileLimits& limits = limitsFor(target);
  ObjectIndex index;
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
  // The list holds each kind and ID once, so no two pairs share an ID.
  for (IdIndex* ids : {&index.macroIds_, &index.tableIds_, &index.sampleIds_}) std::sort(ids->begin(), ids->end());
  return index;
}

}  // namespace voconv
