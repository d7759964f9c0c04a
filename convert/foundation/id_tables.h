// The ID tables that renumber the object IDs of merged export scripts.
//
// Each of the six tables (sound macros, samples, keymaps, layers, tables,
// sound effects) knows which numbers the merged project uses and, for each of
// the four script indexes, which merged number each of that script's numbers
// became. The first script keeps its numbers; a later one keeps those that do
// not collide and gets the lowest free number from 1 upward for the others.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

namespace voconv {

enum class IdKind : uint8_t { SoundMacro, Sample, Keymap, Layer, Table, SoundEffect };
constexpr int kIdKindCount = 6;
constexpr int kMaxScripts = 4;
// The highest number that renumbering gives out.
constexpr uint16_t kHighestNewId = 16382;

// 2^16 entries that start as zero without being written: a large zeroed
// allocation comes as untouched zero pages, so a run pays only for the pages
// of the numbers it uses (a conversion holds 48 of them, 9 MB).
template <typename T>
class SparseNumberMap {
 public:
  SparseNumberMap() : entries_(static_cast<T*>(std::calloc(0x10000, sizeof(T)))) {
    if (!entries_) throw std::bad_alloc();
  }
  T& operator[](uint16_t number) { return entries_.get()[number]; }
  T operator[](uint16_t number) const { return entries_.get()[number]; }
  void clear() { std::fill_n(entries_.get(), 0x10000, T{}); }

 private:
  struct Free {
    void operator()(T* p) const { std::free(p); }
  };
  std::unique_ptr<T, Free> entries_;
};

class IdTable {
 public:
  IdTable();
  void clear();
  void clearMap(int script);
  // The merged number of `number` from `script`; throws FatalError
  // ("*** Fatal: Out of IDs.", exit code 1) when no number is free.
  uint16_t renumber(uint16_t number, int script);
  bool used(uint16_t number) const { return used_[number] != 0; }

 private:
  std::vector<uint8_t> used_;
  uint16_t lowestFree_ = 1;  // no number below it is free
  // A map entry is valid only when its stamp equals the map's generation, so
  // that 0 (a number that may be used) is mapped stably too and a map is
  // cleared by starting a new generation.
  std::array<SparseNumberMap<uint16_t>, kMaxScripts> map_;
  std::array<SparseNumberMap<uint32_t>, kMaxScripts> stamp_;
  std::array<uint32_t, kMaxScripts> generation_{};
};

class IdTables {
 public:
  // Clears every table and makes script 0 current.
  void clear();
  // Clears the map of `script` in all six tables and makes it current.
  void startScript(int script);
  int currentScript() const { return script_; }

  // The merged IDs of numbers from the current script.
  uint16_t macro(uint16_t n) { return renumber(IdKind::SoundMacro, n); }
  uint16_t sample(uint16_t n) { return renumber(IdKind::Sample, n); }
  uint16_t keymap(uint16_t n);  // with flag 0x4000
  uint16_t layer(uint16_t n);   // with flag 0x8000
  uint16_t table(uint16_t n);   // with flag 0xC000
  uint16_t soundEffect(uint16_t n) { return renumber(IdKind::SoundEffect, n); }
  // Renumbers a 16-bit object reference by the kind in its two top bits.
  uint16_t objectReference(uint16_t value);

  // Renumbering with an explicit script index (macro operands are renumbered
  // with the index of the script that defined the macro).
  uint16_t renumber(IdKind kind, uint16_t number, int script);
  uint16_t renumber(IdKind kind, uint16_t number) { return renumber(kind, number, script_); }
  const IdTable& table(IdKind kind) const { return tables_[std::size_t(kind)]; }

 private:
  std::array<IdTable, kIdKindCount> tables_;
  int script_ = 0;
};

}  // namespace voconv
