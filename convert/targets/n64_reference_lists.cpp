#include "convert/targets/n64_reference_lists.h"

#include "convert/project/project_model.h"

namespace voconv {

void ReferenceList::enter(uint16_t id, uint16_t group, bool write) {
  for (Reference& r : entries_) {
    if (r.id == id) r.write = false;
  }
  entries_.push_back(Reference{id, group, write});
}

bool ReferenceList::onStack(uint16_t id, const std::set<uint16_t>& stackGroups) const {
  for (const Reference& r : entries_) {
    if (r.id == id && stackGroups.count(r.group) != 0) return true;
  }
  return false;
}

void ReferenceLists::clear() {
  for (ReferenceList& list : pool) list.clear();
  samples.clear();
}

std::set<uint16_t> groupNumbers(ProjectModel& model, const std::vector<std::string>& names) {
  std::set<uint16_t> numbers;
  for (const std::string& name : names) {
    if (const SongGroup* g = model.songGroupByName(name)) {
      numbers.insert(g->number);
    } else if (const SoundEffectGroup* e = model.soundEffectGroupByName(name)) {
      numbers.insert(e->number);
    }
  }
  return numbers;
}

}  // namespace voconv
