#include "target_object_list.h"

namespace voconv {

TargetObject& TargetObjectList::add(TargetObjectType type, uint16_t id, std::size_t size) {
  remove(type, id);
  entries_.push_front(TargetObject{type, 0, id, std::vector<uint8_t>(size, 0), -1});
  auto it = entries_.begin();
  index_.emplace(Key{uint8_t(type), id}, it);
  positions_.emplace(&*it, it);
  return *it;
}

TargetObject* TargetObjectList::find(TargetObjectType type, uint16_t id) {
  auto found = index_.find(Key{uint8_t(type), id});
  return found == index_.end() ? nullptr : &*found->second;
}

TargetObject* TargetObjectList::first(TargetObjectType type) {
  for (auto& entry : entries_) {
    if (entry.type == type) return &entry;
  }
  return nullptr;
}

TargetObject* TargetObjectList::next(TargetObjectType type, const TargetObject* entry) {
  auto found = positions_.find(entry);
  if (found == positions_.end()) return nullptr;
  for (auto it = std::next(found->second); it != entries_.end(); ++it) {
    if (it->type == type) return &*it;
  }
  return nullptr;
}

std::vector<TargetObject*> TargetObjectList::all(TargetObjectType type) {
  std::vector<TargetObject*> result;
  for (auto& entry : entries_) {
    if (entry.type == type) result.push_back(&entry);
  }
  return result;
}

bool TargetObjectList::remove(TargetObjectType type, uint16_t id) {
  auto found = index_.find(Key{uint8_t(type), id});
  if (found == index_.end()) return false;
  positions_.erase(&*found->second);
  entries_.erase(found->second);
  index_.erase(found);
  return true;
}

void TargetObjectList::clear() {
  entries_.clear();
  index_.clear();
  positions_.clear();
}

}  // namespace voconv
