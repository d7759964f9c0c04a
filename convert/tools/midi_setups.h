// The run-wide list of MIDI setups: shared by name across all export scripts,
// numbered from 0 in registration order.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace voconv {

struct MidiSetup {
  uint16_t id = 0;
  std::string name;
  // The song file that this run's outside tool made for the setup; empty
  // when none was made (the handheld writers delete only these).
  std::filesystem::path songFile;
};

class MidiSetupRegistry {
 public:
  // The setup registered under `name`, or null.
  const MidiSetup* find(const std::string& name) const;
  // Registers a new setup under the next ID.
  const MidiSetup& add(const std::string& name);
  // Notes that the song file of setup `id` was made by this run.
  void recordSongFile(uint16_t id, const std::filesystem::path& songFile);
  const std::vector<MidiSetup>& setups() const { return setups_; }
  void clear();

 private:
  std::vector<MidiSetup> setups_;
  std::map<std::string, size_t> byName_;
  uint16_t nextId_ = 0;
};

}  // namespace voconv
