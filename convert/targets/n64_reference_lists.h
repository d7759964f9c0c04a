// The reference lists of the Nintendo 64 writer: which pool objects and
// samples the converted groups name, and which of them this project writes.
#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace voconv {

class ProjectModel;

struct Reference {
  uint16_t id = 0;
  uint16_t group = 0;  // number of the group that named the object
  bool write = false;  // written by this project (else on the group stack)
};

// One list: entering an ID clears the write flag of every earlier entry
// with the same ID, so only the last reference can write the object.
class ReferenceList {
 public:
  void enter(uint16_t id, uint16_t group, bool write);
  const std::vector<Reference>& entries() const { return entries_; }
  // True when an entry with `id` was entered by one of `stackGroups`: the
  // object is provided by another project on the group stack.
  bool onStack(uint16_t id, const std::set<uint16_t>& stackGroups) const;
  void clear() { entries_.clear(); }

 private:
  std::vector<Reference> entries_;
};

enum PoolList : int { kPoolMacros = 0, kPoolTables = 1, kPoolKeymaps = 2, kPoolLayers = 3 };
constexpr int kPoolLists = 4;

struct ReferenceLists {
  std::array<ReferenceList, kPoolLists> pool;
  ReferenceList samples;

  void clear();
};

// The numbers of the named groups (song groups first, then effect groups);
// a name that no group has counts as none.
std::set<uint16_t> groupNumbers(ProjectModel& model, const std::vector<std::string>& names);

}  // namespace voconv
