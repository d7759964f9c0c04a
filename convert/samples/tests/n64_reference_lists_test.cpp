// The Nintendo 64 writer's reference lists: write flags and the stack check.
#include <gtest/gtest.h>

#include "convert/project/project_model.h"
#include "convert/targets/n64_reference_lists.h"

namespace voconv {
namespace {

std::vector<uint16_t> written(const ReferenceList& list, const std::set<uint16_t>& stack = {}) {
  std::vector<uint16_t> ids;
  for (const Reference& r : list.entries()) {
    if (r.write && !list.onStack(r.id, stack)) ids.push_back(r.id);
  }
  return ids;
}

TEST(ReferenceList, OnlyTheLastReferenceWrites) {
  ReferenceList list;
  list.enter(7, 0, true);
  list.enter(3, 0, true);
  list.enter(7, 1, true);  // the same macro in a later group: written once, there
  EXPECT_EQ(written(list), (std::vector<uint16_t>{3, 7}));
  EXPECT_FALSE(list.entries()[0].write);
  // A later group that does not include its pool leaves the object to the stack.
  list.enter(3, 2, false);
  EXPECT_EQ(written(list), (std::vector<uint16_t>{7}));
}

TEST(ReferenceList, StackGroupsHideTheirObjects) {
  ReferenceList list;
  list.enter(5, 1, false);  // group 1 (a stack group) names 5 and 6
  list.enter(6, 1, false);
  list.enter(5, 0, true);  // group 0 includes its pool: 5 and 8
  list.enter(8, 0, true);
  EXPECT_EQ(written(list), (std::vector<uint16_t>{5, 8}));
  // With group 1 on the stack, 5 is taken to be there already.
  EXPECT_EQ(written(list, {1}), (std::vector<uint16_t>{8}));
  EXPECT_EQ(written(list, {0}), (std::vector<uint16_t>{}));
  EXPECT_EQ(written(list, {9}), (std::vector<uint16_t>{5, 8}));
}

TEST(ReferenceList, GroupNumbersOfStackNames) {
  ProjectModel model;
  SongGroup& song = model.addSongGroup();
  model.setName(song, "Music");
  SoundEffectGroup& fx = model.addSoundEffectGroup();
  model.setName(fx, "Effects");
  EXPECT_EQ(groupNumbers(model, {"Effects", "Music", "Nowhere"}), (std::set<uint16_t>{song.number, fx.number}));
  EXPECT_TRUE(groupNumbers(model, {"music"}).empty());  // names are compared exactly
}

}  // namespace
}  // namespace voconv
