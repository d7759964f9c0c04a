#include "project_model.h"

namespace voconv {

namespace {

void forgetName(std::multimap<std::string, uint16_t>& names, const std::string& name, uint16_t number) {
  auto [first, last] = names.equal_range(name);
  for (auto it = first; it != last; ++it) {
    if (it->second == number) {
      names.erase(it);
      return;
    }
  }
}

// The group of the lowest number among those with the name: numbers rise in
// creation order, so that is the first such group.
template <typename Group>
Group* firstNamed(KeyedList<Group>& groups, const std::multimap<std::string, uint16_t>& names,
                  const std::string& name) {
  Group* first = nullptr;
  auto [from, to] = names.equal_range(name);
  for (auto it = from; it != to; ++it) {
    Group* g = groups.find(it->second);
    if (g && (!first || g->number < first->number)) first = g;
  }
  return first;
}

}  // namespace

void ProjectModel::clear() {
  samples.clear();
  macros.clear();
  keymaps.clear();
  layers.clear();
  tables.clear();
  songGroups.clear();
  soundEffectGroups.clear();
  originalProjectPaths.clear();
  nextGroupNumber_ = 0;
  songGroupNames_.clear();
  effectGroupNames_.clear();
}

SongGroup& ProjectModel::addSongGroup() {
  const uint16_t number = nextGroupNumber_++;
  SongGroup& g = songGroups.replaceOrAppend(number);
  g.number = number;
  songGroupNames_.emplace(std::string(), number);
  return g;
}

SoundEffectGroup& ProjectModel::addSoundEffectGroup() {
  const uint16_t number = nextGroupNumber_++;
  SoundEffectGroup& g = soundEffectGroups.replaceOrAppend(number);
  g.number = number;
  effectGroupNames_.emplace(std::string(), number);
  return g;
}

SongGroup* ProjectModel::songGroupByName(const std::string& name) {
  return firstNamed(songGroups, songGroupNames_, name);
}

SoundEffectGroup* ProjectModel::soundEffectGroupByName(const std::string& name) {
  return firstNamed(soundEffectGroups, effectGroupNames_, name);
}

void ProjectModel::setName(SongGroup& group, std::string name) {
  forgetName(songGroupNames_, group.name, group.number);
  group.name = std::move(name);
  songGroupNames_.emplace(group.name, group.number);
}

void ProjectModel::setName(SoundEffectGroup& group, std::string name) {
  forgetName(effectGroupNames_, group.name, group.number);
  group.name = std::move(name);
  effectGroupNames_.emplace(group.name, group.number);
}

}  // namespace voconv
