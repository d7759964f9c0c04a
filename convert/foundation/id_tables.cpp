#include "id_tables.h"

#include "fatal_error.h"
#include "object_id.h"

namespace voconv {

IdTable::IdTable() : used_(0x10000, 0) { generation_.fill(1); }

void IdTable::clear() {
  std::fill(used_.begin(), used_.end(), 0);
  lowestFree_ = 1;
  for (int s = 0; s < kMaxScripts; ++s) clearMap(s);
}

void IdTable::clearMap(int script) {
  if (++generation_[script] == 0) {  // after 2^32 clears the stamps start over
    stamp_[script].clear();
    generation_[script] = 1;
  }
}

uint16_t IdTable::renumber(uint16_t number, int script) {
  if (stamp_[script][number] == generation_[script]) return map_[script][number];
  uint16_t merged = number;
  if (used_[number]) {
    // Numbers are never freed during a run, so the search can go on from
    // where the last one stopped.
    while (lowestFree_ <= kHighestNewId && used_[lowestFree_]) ++lowestFree_;
    if (lowestFree_ > kHighestNewId) throw FatalError("*** Fatal: Out of IDs.", 1);
    merged = lowestFree_;
  }
  used_[merged] = 1;
  map_[script][number] = merged;
  stamp_[script][number] = generation_[script];
  return merged;
}

void IdTables::clear() {
  for (auto& t : tables_) t.clear();
  script_ = 0;
}

void IdTables::startScript(int script) {
  for (auto& t : tables_) t.clearMap(script);
  script_ = script;
}

uint16_t IdTables::renumber(IdKind kind, uint16_t number, int script) {
  return tables_[std::size_t(kind)].renumber(number, script);
}

uint16_t IdTables::keymap(uint16_t n) { return renumber(IdKind::Keymap, numberOf(n)) | kKeymapFlag; }
uint16_t IdTables::layer(uint16_t n) { return renumber(IdKind::Layer, numberOf(n)) | kLayerFlag; }
uint16_t IdTables::table(uint16_t n) { return renumber(IdKind::Table, numberOf(n)) | kTableFlag; }

uint16_t IdTables::objectReference(uint16_t value) {
  switch (kindOf(value)) {
    case ObjectKind::SoundMacro: return macro(value);
    case ObjectKind::Keymap: return keymap(value);
    case ObjectKind::Layer: return layer(value);
    case ObjectKind::Table: return table(value);
  }
  return value;
}

}  // namespace voconv
