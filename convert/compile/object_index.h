// The indexes that compiled data uses instead of object IDs. Indexing walks
// the target object list from its head (newest entry first) and numbers the
// objects of each kind from 0 in that order.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "convert/compile/compile_target.h"
#include "convert/project/target_object_list.h"

namespace voconv {

class ObjectIndex {
 public:
  using IdIndex = std::vector<std::pair<uint16_t, int>>;  // (ID, index), sorted by ID

  // Objects in index order. Macros past the limit keep index -1 and are not
  // listed; so are tables and samples past theirs.
  std::vector<TargetObject*> macros;
  std::vector<TargetObject*> tables;
  std::vector<TargetObject*> samples;
  std::vector<TargetObject*> effectGroups;
  std::vector<TargetObject*> songGroups;
  std::vector<TargetObject*> midiSetups;

  // The index of an object by its full ID as stored (a table ID carries its
  // 0xC000 kind bits); -1 when the project has no such object or it got no
  // index.
  int macroIndex(uint16_t id) const { return lookUp(macroIds_, id); }
  int tableIndex(uint16_t id) const { return lookUp(tableIds_, id); }
  int sampleIndex(uint16_t id) const { return lookUp(sampleIds_, id); }

  // Clears the top two bits of every object's flag byte, stores each
  // object's index in it and fills the tables. Throws FatalError ("*** ERROR:
  // Too many song groups!", "*** ERROR: Too many MIDI setups!", exit code 1)
  // when a kind that may not be cut short exceeds its limit.
  static ObjectIndex build(TargetObjectList& objects, CompileTarget target);

 private:
  static int lookUp(const IdIndex& ids, uint16_t id);

  IdIndex macroIds_;
  IdIndex tableIds_;
  IdIndex sampleIds_;
};

}  // namespace voconv
