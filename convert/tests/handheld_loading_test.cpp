// Loading a handheld project's objects into the target object list: what is
// loaded, in which order, with which payload, and every loading failure.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "common/byte_order.h"
#include "common/testing/cli_run.h"
#include "convert/targets/handheld_loading.h"
#include "convert/targets/handheld_objects.h"
#include "test_conversion.h"

namespace voconv {
namespace {

using common::Endian;
using testing_support::TempDir;

// A PCM WAV file; with `loop` a sampler chunk with root key 60 and one loop.
std::vector<uint8_t> wavFile(uint16_t channels, uint16_t bits, const std::vector<uint8_t>& data,
                             std::pair<uint32_t, uint32_t> loop = {0, 0}) {
  common::ByteWriter w(Endian::Little);
  const bool looped = loop.second != 0;
  w.text("RIFF");
  w.u32(uint32_t(4 + 24 + 8 + data.size() + (looped ? 8 + 60 : 0)));
  w.text("WAVEfmt ");
  w.u32(16);
  for (uint16_t v : {uint16_t(1), channels}) w.u16(v);
  w.u32(8000);
  w.u32(8000u * channels * bits / 8);
  for (uint16_t v : {uint16_t(channels * bits / 8), bits}) w.u16(v);
  if (looped) {
    w.text("smpl");
    w.u32(60);
    for (uint32_t v : {0u, 0u, 125000u, 60u, 0u, 0u, 0u, 1u, 0u, 0u, 0u, loop.first, loop.second, 0u, 0u}) w.u32(v);
  }
  w.text("data");
  w.u32(uint32_t(data.size()));
  w.bytes(data);
  return w.take();
}

struct HandheldProject {
  TempDir dir;
  voconv::testing::TestConversion t;
  Conversion& c = t.conversion;

  explicit HandheldProject(const ReleaseProfile& release = currentRelease()) : t(release) {}

  std::string file(const std::string& name, const std::vector<uint8_t>& bytes) {
    dir.write(name, bytes);
    return (dir / name).string();
  }
  SongGroup& songGroup(const std::string& name) {
    SongGroup& g = c.model.addSongGroup();
    c.model.setName(g, name);
    include(name);
    return g;
  }
  void include(const std::string& name) {
    c.description.projectGroups.push_back(name);
    c.description.poolIncludeGroups.push_back(name);
    c.description.sampleIncludeGroups.push_back(name);
  }
  std::vector<std::pair<TargetObjectType, uint16_t>> loaded() {
    std::vector<std::pair<TargetObjectType, uint16_t>> list;
    for (const TargetObject& o : c.targetObjects.entries()) list.emplace_back(o.type, o.id);
    return list;
  }
};

TEST(HandheldLoading, LoadsGroupsThenReferencedObjectsInEntryOrder) {
  HandheldProject p;
  p.c.settings.verbose = true;
  const std::string m1 = p.file("m1.mac", {1, 2, 3, 4, 5, 6}), m2 = p.file("m2.mac", std::vector<uint8_t>(8, 2));
  p.c.model.macros.replaceOrAppend(1).fileName = m1;
  p.c.model.macros.replaceOrAppend(2).fileName = m2;
  const std::string curve = p.file("t.crv", {1, 0, 2, 0, 3, 0, 4, 0});
  p.c.model.tables.replaceOrAppend(0xC001).fileName = curve;
  const std::string wav = p.file("s.wav", wavFile(1, 8, {129, 127, 144, 0, 0}, {1, 2}));
  SampleRecord& sample = p.c.model.samples.replaceOrAppend(5);
  sample.fileName = wav;
  sample.type = 1;
  SongGroup& songs = p.songGroup("Songs");
  songs.members.macros = {2, 1};
  songs.members.tables = {0xC001};
  songs.members.samples = {5};
  songs.normalPage.replaceOrAppend(3) = PageEntry{2, 5, 4, 0};
  songs.drumPage.replaceOrAppend(0) = PageEntry{1, 6, 7, 2};
  MidiSetupEntry& setup = songs.midiSetups.replaceOrAppend(0);
  setup.name = "intro";
  setup.channels[15] = ChannelSetup{1, 2, 3, 4, 5};
  SoundEffectGroup& fx = p.c.model.addSoundEffectGroup();
  p.c.model.setName(fx, "Fx");
  p.include("Fx");
  fx.members.macros = {1};
  fx.effects.replaceOrAppend(7) = SoundEffectEntry{1, 2, 3, 4, 5, 6, "ping"};

  ASSERT_TRUE(loadHandheldObjects(p.c)) << p.t.output();
  EXPECT_EQ(p.t.output(), "Including songgroup <Songs> into project data...\n"
                          "Including FXgroup <Fx> into project data...\n"
                          "Including macro file <" +
                              m2 +
                              "> for ID 2...\n"
                              "Including macro file <" +
                              m1 +
                              "> for ID 1...\n"
                              "Including curve file <" +
                              curve +
                              "> for ID 49153...\n"
                              "Including sample file <" +
                              wav +
                              "> for ID 5...\n"
                              "(len=3, loop=1, llen=2, frq=8000, key=60)\n");
  using T = TargetObjectType;
  EXPECT_EQ(p.loaded(), (std::vector<std::pair<T, uint16_t>>{{T::Sample, 5},
                                                             {T::Table, 0xC001},
                                                             {T::Macro, 1},
                                                             {T::Macro, 2},
                                                             {T::SoundEffectGroup, 1},
                                                             {T::MidiSetup, 0},
                                                             {T::SongGroup, 0}}));
  auto& list = p.c.targetObjects;
  EXPECT_EQ(list.find(T::Macro, 1)->payload, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 0, 0}));
  // Key 60, 8000 Hz; type 1, 3 samples (cut after the loop); loop 1, 2;
  // the bytes 129, 127, 144 are 1, -1, 16 widened to 16 bits.
  EXPECT_EQ(list.find(T::Sample, 5)->payload,
            (std::vector<uint8_t>{0x40, 0x1F, 0, 60, 3, 0,    0,    1,    1,    0,    0,
                                  0,    2,    0, 0,  0, 0x00, 0x01, 0x00, 0xFF, 0x00, 0x10}));
  const convert::HandheldSample decoded = sampleFromObject(*list.find(T::Sample, 5));
  EXPECT_EQ(decoded.header.loopLength, 2u);
  EXPECT_EQ(decoded.samples, (std::vector<int16_t>{0x0100, -0x0100, 0x1000}));
  const TableEnvelope envelope = tableEnvelope(*list.find(T::Table, 0xC001));
  EXPECT_EQ(envelope.release, 4);
  const TargetObject& page = *list.find(T::SongGroup, 0);
  EXPECT_EQ(page.payload.size(), 2048u);
  EXPECT_EQ(pageEntry(page, 3).objectId, 2);
  EXPECT_EQ(pageEntry(page, 3).drumMode, 255);
  EXPECT_EQ(pageEntry(page, 128).maxVoices, 7);
  EXPECT_EQ(pageEntry(page, 128).drumMode, 1);
  EXPECT_TRUE(pageEntry(page, 4).empty());
  const MidiSetupObject s = midiSetupObject(*list.find(T::MidiSetup, 0));
  EXPECT_EQ(s.name, "intro");
  EXPECT_EQ(s.songGroup, 0u);
  EXPECT_EQ(s.channels[15].rev, 4);  // the IDs behind the channels leave them whole
  EXPECT_EQ(s.channels[15].cho, 5);
  const std::vector<EffectObjectEntry> effects = effectEntries(*list.find(T::SoundEffectGroup, 1));
  ASSERT_EQ(effects.size(), 1u);
  EXPECT_EQ(effects[0].effectId, 7);
  EXPECT_EQ(effects[0].key, 6);
}

TEST(HandheldLoading, SkipsObjectsThatOtherProjectsProvide) {
  HandheldProject p;
  for (uint16_t id : {4, 5, 6}) p.c.model.macros.replaceOrAppend(id).fileName = p.file("m.mac", {0, 0, 0, 0});
  p.songGroup("Stack").members.macros = {4};
  p.songGroup("Mine").members.macros = {4, 5};
  SongGroup& other = p.c.model.addSongGroup();
  p.c.model.setName(other, "Other");
  p.c.description.projectGroups.push_back("Other");  // its data lies on the group stack
  other.members.macros = {6};
  p.c.description.poolStackGroups = {"Stack"};
  ASSERT_TRUE(loadHandheldObjects(p.c)) << p.t.output();
  EXPECT_NE(p.c.targetObjects.find(TargetObjectType::Macro, 5), nullptr);
  EXPECT_EQ(p.c.targetObjects.find(TargetObjectType::Macro, 4), nullptr);
  EXPECT_EQ(p.c.targetObjects.find(TargetObjectType::Macro, 6), nullptr);
}

TEST(HandheldLoading, StopsAtTheFirstFailureWithItsMessage) {
  struct Case {
    const char* name;
    const ReleaseProfile& release;
    std::vector<uint16_t> macros, tables, samples;
    std::vector<uint8_t> sampleFile;  // empty: no file
    std::string text;                 // the start of what is printed
  };
  const std::vector<uint8_t> mono16 = wavFile(1, 16, {1, 0, 2, 0});
  const std::vector<Case> cases{
      {"macro not in the project",
       currentRelease(),
       {9},
       {},
       {},
       {},
       "*** Referenced macro 9 not found in project data.\n"},
      {"macro file missing", currentRelease(), {8}, {}, {}, {}, "*** Could not read macro file.\n*** "},
      {"curve not in the project",
       currentRelease(),
       {},
       {0xC009},
       {},
       {},
       "*** Referenced curve 49161 not found in project data.\n"},
      {"sample not in the project",
       currentRelease(),
       {},
       {},
       {9},
       {},
       "*** Referenced sample 9 not found in project data.\n"},
      {"sample unreadable",
       currentRelease(),
       {},
       {},
       {5},
       {},
       "*** Referenced sample \"s.wav\" (id=5) not found in project data.\n*** "},
      {"sample unreadable, 1.15", release115(), {}, {}, {5}, {}, ""},
      {"stereo sample",
       currentRelease(),
       {},
       {},
       {5},
       wavFile(2, 16, {1, 0, 2, 0}),
       "*** Input samples must be mono format.\n"},
      {"8-bit sample, 1.15",
       release115(),
       {},
       {},
       {5},
       wavFile(1, 8, {1, 2}),
       "*** Input samples must be 16-bit, mono format.\n"},
      {"16-bit mono, 1.15", release115(), {}, {}, {5}, mono16, ""},
  };
  for (const Case& c : cases) {
    HandheldProject p(c.release);
    p.c.basePaths.add(p.dir.path().string());
    p.c.model.macros.replaceOrAppend(8).fileName = "missing.mac";
    p.c.model.samples.replaceOrAppend(5).fileName = "s.wav";
    if (!c.sampleFile.empty()) p.file("s.wav", c.sampleFile);
    SongGroup& g = p.songGroup("G");
    g.members = GroupMembers{c.macros, c.samples, c.tables, {}, {}};
    const bool ok = loadHandheldObjects(p.c);
    EXPECT_EQ(ok, c.text.empty() && !c.sampleFile.empty()) << c.name;
    EXPECT_EQ(p.t.output().substr(0, c.text.size()), c.text) << c.name;
    if (c.text.empty()) {
      EXPECT_EQ(p.t.output(), "") << c.name;
    }
  }
  HandheldProject p;
  p.c.description.projectGroups = {"Nope"};
  EXPECT_FALSE(loadHandheldObjects(p.c));
  EXPECT_EQ(p.t.output(), "*** Group <Nope> is not defined within this project.\n");
}

}  // namespace
}  // namespace voconv
