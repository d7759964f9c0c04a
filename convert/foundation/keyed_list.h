// The list type that holds every list of the converter's project model.
//
// Records keep their insertion order (or key order, for lists filled with
// findOrInsertSorted) and are reached by key through an index, so filling a
// list of n records costs O(n log n), not O(n^2). References to records stay
// valid until the record is replaced or removed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <list>
#include <map>

namespace voconv {

template <typename T>
class KeyedList {
 public:
  struct Record {
    uint32_t key;
    T value;
  };
  using Records = std::list<Record>;
  using iterator = typename Records::iterator;
  using const_iterator = typename Records::const_iterator;

  // Removes the record with `key` (if any) and appends a fresh one with a
  // default value at the end, so a later definition of a key replaces the
  // earlier one and moves it to the end.
  T& replaceOrAppend(uint32_t key) {
    remove(key);
    records_.push_back(Record{key, T{}});
    auto it = std::prev(records_.end());
    index_.emplace(key, it);
    return it->value;
  }

  // For lists kept in increasing key order: the record with `key`, or a new
  // one inserted before the first larger key.
  T& findOrInsertSorted(uint32_t key) {
    auto found = index_.lower_bound(key);
    if (found != index_.end() && found->first == key) return found->second->value;
    const iterator before = found == index_.end() ? records_.end() : found->second;
    auto it = records_.insert(before, Record{key, T{}});
    index_.emplace_hint(found, key, it);
    return it->value;
  }

  T* find(uint32_t key) {
    auto found = index_.find(key);
    return found == index_.end() ? nullptr : &found->second->value;
  }
  const T* find(uint32_t key) const {
    auto found = index_.find(key);
    return found == index_.end() ? nullptr : &found->second->value;
  }

  bool remove(uint32_t key) {
    auto found = index_.find(key);
    if (found == index_.end()) return false;
    records_.erase(found->second);
    index_.erase(found);
    return true;
  }

  void clear() {
    records_.clear();
    index_.clear();
  }

  size_t size() const { return records_.size(); }
  bool empty() const { return records_.empty(); }
  iterator begin() { return records_.begin(); }
  iterator end() { return records_.end(); }
  const_iterator begin() const { return records_.begin(); }
  const_iterator end() const { return records_.end(); }

 private:
  Records records_;
  std::map<uint32_t, iterator> index_;
};

}  // namespace voconv
