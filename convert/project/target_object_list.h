// The target object list that the handheld writers fill: every object a
// project needs (macros, tables, effect groups, song group pages, samples,
// MIDI setups) with its raw payload, newest entry first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <map>
#include <utility>
#include <vector>

namespace voconv {

enum class TargetObjectType : uint8_t {
  Macro = 0,
  Table = 1,
  SoundEffectGroup = 4,
  SongGroup = 5,
  Sample = 6,
  MidiSetup = 7,
};

struct TargetObject {
  TargetObjectType type = TargetObjectType::Macro;
  uint8_t flags = 0;  // 0 when created
  uint16_t id = 0;
  std::vector<uint8_t> payload;  // zero-filled when created
  int index = -1;                // set by the compilers' indexing
};

class TargetObjectList {
 public:
  using Entries = std::list<TargetObject>;

  // Removes an object of the same type and ID, then puts a new one with
  // `size` zero bytes of payload at the head and returns it.
  TargetObject& add(TargetObjectType type, uint16_t id, std::size_t size);
  TargetObject* find(TargetObjectType type, uint16_t id);
  // Walks the objects of one type from the head (newest first); null at the end.
  TargetObject* first(TargetObjectType type);
  TargetObject* next(TargetObjectType type, const TargetObject* entry);
  // Every object of one type, newest first.
  std::vector<TargetObject*> all(TargetObjectType type);
  bool remove(TargetObjectType type, uint16_t id);
  void clear();

  std::size_t size() const { return entries_.size(); }
  Entries& entries() { return entries_; }

 private:
  using Key = std::pair<uint8_t, uint16_t>;
  Entries entries_;
  std::map<Key, Entries::iterator> index_;
  // Where each entry sits in entries_, for next().
  std::map<const TargetObject*, Entries::iterator> positions_;
};

}  // namespace voconv
