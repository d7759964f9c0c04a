#include "midi_setups.h"

namespace voconv {

const MidiSetup* MidiSetupRegistry::find(const std::string& name) const {
  auto found = byName_.find(name);
  return found == byName_.end() ? nullptr : &setups_[found->second];
}

const MidiSetup& MidiSetupRegistry::add(const std::string& name) {
  byName_.emplace(name, setups_.size());
  setups_.push_back(MidiSetup{nextId_++, name, {}});
  return setups_.back();
}

void MidiSetupRegistry::recordSongFile(uint16_t id, const std::filesystem::path& songFile) {
  for (MidiSetup& setup : setups_) {
    if (setup.id == id) setup.songFile = songFile;
  }
}

void MidiSetupRegistry::clear() {
  setups_.clear();
  byName_.clear();
  nextId_ = 0;
}

}  // namespace voconv
