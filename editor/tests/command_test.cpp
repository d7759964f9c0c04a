#include <gtest/gtest.h>

#include <functional>

#include "core/command.h"
#include "core/command_codes.h"
#include "core/vocabulary.h"

using namespace vtq;

namespace {

CSMPTETime tc(uint32_t h, uint32_t m, uint32_t s, uint32_t f) { return CSMPTETime(h, m, s, f); }

std::vector<uint8_t> dataOf(const CCommand& command) {
  CommandBytes bytes;
  const int count = command.dataBytes(bytes);
  return std::vector<uint8_t>(bytes.begin(), bytes.begin() + count);
}

}  // namespace

TEST(Command, NewCommandDefaults) {
  CCommand command;
  EXPECT_EQ(command.commandCode(), 0x10);
  EXPECT_EQ(command.commandName(), "KEEP_ALIVE");
  EXPECT_EQ(command.param().kind(), ParamKind::Plain);
  EXPECT_EQ(command.insertTime().frameCount(), 0);
  EXPECT_EQ(command.responseTime().frameCount(), 0);
  EXPECT_FALSE(command.isTimed());
  EXPECT_EQ(command.retransmissions(), 0);
  EXPECT_EQ(command.GetDescription(), "");
  EXPECT_EQ(command.byteCodeText(), "");
  EXPECT_EQ(command.fileName(), "");
  EXPECT_EQ(dataOf(command), (std::vector<uint8_t>{0x10}));
}

TEST(Command, ParameterClassFollowsTheCode) {
  const std::pair<uint8_t, ParamKind> cases[] = {
      {0x10, ParamKind::Plain},   {0x22, ParamKind::PlaySound}, {0x53, ParamKind::Animation},
      {0x71, ParamKind::Ability}, {0x81, ParamKind::Ability},   {0x91, ParamKind::Ability},
      {0xF0, ParamKind::Plain},   {0x00, ParamKind::Plain},     {0x72, ParamKind::Plain},
  };
  for (const auto& [code, kind] : cases) {
    CCommand command;
    command.SetCommand(code);
    EXPECT_EQ(command.param().kind(), kind) << int(code);
    EXPECT_EQ(command.commandCode(), code);
  }
}

TEST(Command, SetCommandResetsParametersEvenForTheSameClass) {
  CCommand command;
  command.SetCommand(kEnableAbility);
  static_cast<CAbility&>(command.param()).abilityId = 11;
  command.SetCommand(kSelectAbility);
  EXPECT_EQ(static_cast<CAbility&>(command.param()).abilityId, 0);
  EXPECT_EQ(command.GetDescription(), "AB_IDLE");

  command.SetCommand(kShowAnimation);
  auto& animation = static_cast<CAnimation&>(command.param());
  animation.pictureId = 5;
  animation.mode = CAnimation::kIcon;
  animation.iconNumber = 4;
  command.SetCommand(kPlaySound);
  command.SetCommand(kShowAnimation);
  const auto& fresh = static_cast<const CAnimation&>(command.param());
  EXPECT_EQ(fresh.pictureId, 0);
  EXPECT_EQ(fresh.mode, 0x20);
  EXPECT_EQ(fresh.iconNumber, 1);
}

TEST(Command, ParameterBytesAndDescriptions) {
  struct Case {
    const char* what;
    std::function<void(CCommand&)> setUp;
    std::vector<uint8_t> bytes;
    const char* description;
    const char* byteCodeText;
  };
  const Case cases[] = {
      {"keep alive", [](CCommand& c) { c.SetCommand(0x10); }, {0x10}, "", "0x10"},
      {"stop ability", [](CCommand& c) { c.SetCommand(0xF0); }, {0xF0}, "", "0xF0"},
      {"enable shield",
       [](CCommand& c) {
         c.SetCommand(0x71);
         static_cast<CAbility&>(c.param()).abilityId = 11;
       },
       {0x71, 11},
       "AB_SHIELD",
       "0x710B"},
      {"disable idle", [](CCommand& c) { c.SetCommand(0x81); }, {0x81, 0}, "AB_IDLE", "0x8100"},
      {"sound 5",
       [](CCommand& c) {
         c.SetCommand(0x22);
         static_cast<CPlaySound&>(c.param()).soundId = 5;
       },
       {0x22, 0x05, 0x00},
       "SFX_Boing",
       "0x220500"},
      {"sound 62 is an effect",
       [](CCommand& c) {
         c.SetCommand(0x22);
         static_cast<CPlaySound&>(c.param()).soundId = 62;
       },
       {0x22, 62, 0},
       "SFX_Zap",
       "0x223E00"},
      {"sound 300 is a voice, low byte first",
       [](CCommand& c) {
         c.SetCommand(0x22);
         static_cast<CPlaySound&>(c.param()).soundId = 300;
       },
       {0x22, 0x2C, 0x01},
       "VO_SCAN004",
       "0x222C01"},
      {"picture in icon mode, icon masked to five bits",
       [](CCommand& c) {
         c.SetCommand(0x53);
         auto& a = static_cast<CAnimation&>(c.param());
         a.pictureId = 0x1234;
         a.mode = CAnimation::kIcon;
         a.iconNumber = 33;
       },
       {0x53, 0x41, 0x12, 0x34},
       ", Icon 33",  // 0x1234 has no name
       "0x53411234"},
      {"looped picture, high byte first",
       [](CCommand& c) {
         c.SetCommand(0x53);
         static_cast<CAnimation&>(c.param()).pictureId = 5639;
       },
       {0x53, 0x20, 0x16, 0x07},
       "DRIVING_LIGHT, Looped",
       "0x53201607"},
      {"picture played once",
       [](CCommand& c) {
         c.SetCommand(0x53);
         auto& a = static_cast<CAnimation&>(c.param());
         a.pictureId = 3;
         a.mode = CAnimation::kOnce;
       },
       {0x53, 0x80, 0x00, 0x03},
       "BONUS",
       "0x53800003"},
  };
  for (const Case& c : cases) {
    CCommand command;
    c.setUp(command);
    EXPECT_EQ(dataOf(command), c.bytes) << c.what;
    EXPECT_EQ(command.GetDescription(), c.description) << c.what;
    EXPECT_EQ(command.makeByteCodeText(), c.byteCodeText) << c.what;
  }
}

TEST(Command, VocabularyTablesHaveTheirIdsAndCounts) {
  EXPECT_EQ(vocabularyTable(Vocabulary::Command).size(), 7u);
  EXPECT_EQ(vocabularyTable(Vocabulary::Ability).size(), 21u);
  EXPECT_EQ(vocabularyTable(Vocabulary::Picture).size(), 86u);
  EXPECT_EQ(vocabularyTable(Vocabulary::Sound).size(), 63u);
  EXPECT_EQ(vocabularyTable(Vocabulary::Voice).size(), 227u);
  for (uint32_t id : {14u, 16u, 19u, 20u, 21u, 23u, 27u}) EXPECT_EQ(vocabularyName(Vocabulary::Ability, id), "") << id;
  EXPECT_EQ(vocabularyName(Vocabulary::Ability, 0), "AB_IDLE");
  EXPECT_EQ(vocabularyName(Vocabulary::Ability, 11), "AB_SHIELD");
  const std::pair<uint32_t, const char*> pictures[] = {
      {0, "NO_HEAD"}, {3, "BONUS"},      {4, "GAIN_LEVEL"},       {5, "CRASH"},     {7, ""},
      {8, "NUMBERS"}, {11, "ARROW_UP"},  {12, "ARROW_DOWN"},      {256, "DOGDE"},   {512, "REFLEX"},
      {2048, "SCAN"}, {5632, "DRIVING"}, {5639, "DRIVING_LIGHT"}, {6656, "MAGNET"}, {6657, ""}};
  for (const auto& [id, name] : pictures) EXPECT_EQ(vocabularyName(Vocabulary::Picture, id), name) << id;
  for (uint32_t id = 0; id < 63; ++id) EXPECT_EQ(vocabularyName(Vocabulary::Sound, id).substr(0, 4), "SFX_") << id;
  for (uint32_t id = 0; id < 400; ++id) {
    const bool voice = (id >= 63 && id <= 196) || (id >= 255 && id <= 347);
    EXPECT_EQ(!vocabularyName(Vocabulary::Voice, id).empty(), voice) << id;
  }
  for (const auto& [id, name] : pictures) {
    if (*name) {
      EXPECT_EQ(vocabularyId(Vocabulary::Picture, name), std::optional<uint16_t>(id)) << name;
    }
  }
  EXPECT_FALSE(vocabularyId(Vocabulary::Sound, "SFX_honk"));
}

TEST(Command, CopyDropsFileNameAndByteCodeAndCopiesTheParameter) {
  CCommand original;
  original.SetCommand(kPlaySound);
  static_cast<CPlaySound&>(original.param()).soundId = 100;
  original.setLoadedFields(tc(0, 0, 10, 0), tc(0, 0, 20, 0), 1, 3, kPlaySound, "a.wav", "0x226400");
  const CCommand copy(original);
  EXPECT_EQ(copy.fileName(), "");
  EXPECT_EQ(copy.byteCodeText(), "");
  EXPECT_EQ(copy.insertTime(), original.insertTime());
  EXPECT_EQ(copy.responseTime(), original.responseTime());
  EXPECT_TRUE(copy.isTimed());
  EXPECT_EQ(copy.retransmissions(), 3);
  ASSERT_EQ(copy.param().kind(), ParamKind::PlaySound);
  EXPECT_EQ(static_cast<const CPlaySound&>(copy.param()).soundId, 100);
  EXPECT_NE(&copy.param(), &original.param());
}

TEST(Command, TransmissionLengthIsOneSecondPerTransmission) {
  CCommand command;
  EXPECT_EQ(command.TransmissionLength().frameCount(), 25);
  command.setRetransmissions(15);
  EXPECT_EQ(command.TransmissionLength().frameCount(), 400);
}

TEST(Command, SetResponseTimeBoundaries) {
  struct Case {
    CSMPTETime requested;
    bool ok;
    const char* stored;
  };
  const CSMPTETime insert = tc(0, 1, 0, 10);
  const Case cases[] = {
      {tc(0, 1, 0, 10), true, "00:01:00:10"},   {tc(0, 5, 15, 10), true, "00:05:15:10"},  // exactly 255 s
      {tc(0, 5, 16, 10), false, "00:01:00:10"},                                           // 256 s
      {tc(0, 0, 59, 10), false, "00:01:00:10"},                                           // before: close to 24 h
      {tc(0, 2, 0, 3), true, "00:02:00:10"},    // the frame number follows the insert time
      {tc(0, 5, 15, 24), true, "00:05:15:10"},  // 255 s once the frames are replaced
  };
  for (const Case& c : cases) {
    CCommand command;
    command.MoveStart(insert);
    command.SetTimed(true);
    EXPECT_EQ(command.SetResponseTime(c.requested), c.ok) << c.requested.text();
    EXPECT_EQ(command.responseTime().text(), c.stored) << c.requested.text();
  }
}

TEST(Command, AdvanceMovesTheResponseTimeByTheFramePartOnly) {
  struct Case {
    bool timed;
    CSMPTETime insert, response, delta;
    const char* newInsert;
    const char* newResponse;
  };
  const Case cases[] = {
      // Timed, 2 s on: the response time stays where it was.
      {true, tc(0, 0, 10, 0), tc(0, 0, 20, 0), tc(0, 0, 2, 0), "00:00:12:00", "00:00:20:00"},
      // Timed, moved past its response time: the response becomes the insert time.
      {true, tc(0, 0, 10, 0), tc(0, 0, 11, 0), tc(0, 0, 2, 0), "00:00:12:00", "00:00:12:00"},
      // Frame part of the delta moves both.
      {true, tc(0, 0, 10, 0), tc(0, 0, 20, 0), tc(0, 0, 3, 5), "00:00:13:05", "00:00:20:05"},
      // Not timed: the response time follows the insert time.
      {false, tc(0, 0, 10, 0), tc(0, 0, 10, 0), tc(0, 0, 3, 0), "00:00:13:00", "00:00:13:00"},
      {false, tc(0, 0, 10, 0), tc(0, 0, 10, 0), CSMPTETime(3), "00:00:10:03", "00:00:10:03"},
      // Across midnight the response would lie before the insert time.
      {true, tc(23, 59, 59, 0), tc(23, 59, 59, 0), tc(0, 0, 2, 0), "00:00:01:00", "00:00:01:00"},
  };
  for (const Case& c : cases) {
    CCommand command;
    command.setLoadedFields(c.insert, c.response, c.timed, 0, 0x10, "", "");
    command.Advance(c.delta);
    EXPECT_EQ(command.insertTime().text(), c.newInsert);
    EXPECT_EQ(command.responseTime().text(), c.newResponse) << c.insert.text() << " + " << c.delta.text();
  }
}

TEST(Command, MoveStartKeepsTheDelayOfATimedCommand) {
  CCommand command;
  command.MoveStart(tc(0, 0, 10, 0));
  command.SetTimed(true);
  ASSERT_TRUE(command.SetResponseTime(tc(0, 0, 40, 0)));
  command.MoveStart(tc(0, 1, 0, 0));
  EXPECT_EQ(command.responseTime().text(), "00:01:30:00");
  EXPECT_EQ(command.durationByte(), 30);
  command.SetTimed(false);
  EXPECT_EQ(command.responseTime().text(), "00:01:00:00");
  command.MoveStart(tc(0, 2, 0, 0));
  EXPECT_EQ(command.responseTime().text(), "00:02:00:00");
  EXPECT_EQ(command.durationByte(), 0);
}

TEST(Command, DurationByteIsTheDelayInWholeSeconds) {
  CCommand command;
  command.MoveStart(tc(1, 0, 0, 7));
  command.SetTimed(true);
  ASSERT_TRUE(command.SetResponseTime(tc(1, 4, 15, 7)));
  EXPECT_EQ(command.durationByte(), 255);
  EXPECT_EQ(command.makeByteCodeText(), "0x10");  // the delay is not part of the text
}

TEST(Command, ChoicesAreSortedAndSkipEmptyNames) {
  const auto commands = vocabularyChoices(Vocabulary::Command, 0, 255);
  std::vector<std::string> names;
  for (const auto& e : commands) names.push_back(e.name);
  EXPECT_EQ(names, (std::vector<std::string>{"DISABLE_ABILITY", "ENABLE_ABILITY", "KEEP_ALIVE", "PLAY_SOUND",
                                             "SELECT_ABILITY", "SHOW_ANIMATION", "STOP_ABILITY"}));
  EXPECT_EQ(commands[0].id, 0x81);
  const auto abilities = vocabularyChoices(Vocabulary::Ability, 1, 255);  // AB_IDLE is not offered
  EXPECT_EQ(abilities.size(), 20u);
  for (const auto& e : abilities) EXPECT_NE(std::string(e.name), "AB_IDLE");
  EXPECT_EQ(vocabularyChoices(Vocabulary::Voice, 63, 511).size(), 227u);
  EXPECT_EQ(vocabularyChoices(Vocabulary::Picture, 0, 8191).size(), 86u);
  EXPECT_EQ(vocabularyChoices(Vocabulary::Sound, 0, 62).size(), 63u);
}
