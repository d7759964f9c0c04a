// The run-wide list of MIDI setups: shared by name across all export scripts,
// numbered from 0 in registration order.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace voconv {

struct MidiSetup {
  uint16_t id = 0;
  std::string name;
};

class MidiSetupRegistry {
 public:
  // The setup registered under `name`, or null.
  const MidiSetup* find(const std::string& name) const;
  // Registers a new setup under the next ID.
  const MidiSetup& add(const std::string& name);
  const std::vector<MidiSetup>& setups() const { return setups_; }
  void clear();

 private:
  std::vector<MidiSetup> setups_;
  std::map<std::string, size_t> byName_;
  uint16_t nextId_ = 0;
};

}  // namespace voconv
