// The command list of a document: owned commands, kept in insert-time order
// by the document's operations.
#pragma once

#include <memory>
#include <vector>

#include "command.h"

namespace vtq {

class CCmdArray {
 public:
  size_t size() const { return commands_.size(); }
  bool empty() const { return commands_.empty(); }
  // The command at `index`, or null past the end.
  CCommand* at(size_t index) const { return index < commands_.size() ? commands_[index].get() : nullptr; }
  CCommand& last() const { return *commands_.back(); }

  void append(std::unique_ptr<CCommand> command) { commands_.push_back(std::move(command)); }
  void insertAt(size_t index, std::unique_ptr<CCommand> command) {
    commands_.insert(commands_.begin() + std::ptrdiff_t(index), std::move(command));
  }
  // Takes the command at `index` out of the list and hands it to the caller.
  std::unique_ptr<CCommand> takeAt(size_t index) {
    auto command = std::move(commands_[index]);
    commands_.erase(commands_.begin() + std::ptrdiff_t(index));
    return command;
  }
  void clear() { commands_.clear(); }
  void reserve(size_t count) { commands_.reserve(count); }

  auto begin() const { return commands_.begin(); }
  auto end() const { return commands_.end(); }

 private:
  std::vector<std::unique_ptr<CCommand>> commands_;
};

}  // namespace vtq
