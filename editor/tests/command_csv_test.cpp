// Command lists as comma- and tab-separated text: the rows written for each
// kind of command, reading them back, and the refusal of a bad row that names
// its line and value.
#include <gtest/gtest.h>

#include <functional>

#include "core/command_codes.h"
#include "core/command_csv.h"
#include "core/csv_table.h"

using namespace vtq;

namespace {

const char* const kHeader =
    "insert_time,timed,response_time,retransmissions,command,parameter,mode,icon,file_name,byte_code\r\n";

std::unique_ptr<CCommand> make(uint8_t code, CSMPTETime time, const std::function<void(CCommand&)>& set = {}) {
  auto command = std::make_unique<CCommand>();
  command->SetCommand(code);
  command->MoveStart(time);
  if (set) set(*command);
  return command;
}

std::vector<std::unique_ptr<CCommand>> decode(const std::string& text, ListReadError& error,
                                              ListHeader header = ListHeader::Required,
                                              ListSeparator separator = ListSeparator::Comma) {
  std::vector<std::unique_ptr<CCommand>> commands;
  decodeCommandList(text, separator, header, commands, error);
  return commands;
}

}  // namespace

TEST(CommandCsv, RowsNameEveryFieldAsTheBatchModeTakesIt) {
  const struct {
    std::unique_ptr<CCommand> command;
    const char* row;
  } cases[] = {
      {make(kKeepAlive, CSMPTETime(1, 2, 3, 4)), "01:02:03:04,no,01:02:03:04,0,KEEP_ALIVE,,,,,"},
      {make(kPlaySound, CSMPTETime(0, 0, 5, 0),
            [](CCommand& c) {
              static_cast<CPlaySound&>(c.param()).soundId = 300;
              c.setRetransmissions(2);
            }),
       "00:00:05:00,no,00:00:05:00,2,PLAY_SOUND,VO_SCAN004,,,,"},
      {make(kEnableAbility, CSMPTETime(0, 0, 5, 10),
            [](CCommand& c) {
              static_cast<CAbility&>(c.param()).abilityId = 11;
              c.SetTimed(true);
              c.SetResponseTime(CSMPTETime(0, 4, 20, 10));
            }),
       "00:00:05:10,yes,00:04:20:10,0,ENABLE_ABILITY,AB_SHIELD,,,,"},
      // An id without a name is written as its number.
      {make(kDisableAbility, CSMPTETime(0, 0, 6, 0),
            [](CCommand& c) { static_cast<CAbility&>(c.param()).abilityId = 14; }),
       "00:00:06:00,no,00:00:06:00,0,DISABLE_ABILITY,14,,,,"},
      {make(kShowAnimation, CSMPTETime(0, 0, 7, 0),
            [](CCommand& c) {
              auto& animation = static_cast<CAnimation&>(c.param());
              animation.pictureId = 3;
              animation.mode = CAnimation::kIcon;
              animation.iconNumber = 33;
            }),
       "00:00:07:00,no,00:00:07:00,0,SHOW_ANIMATION,BONUS,icon,33,,"},
      {make(kShowAnimation, CSMPTETime(0, 0, 8, 0),
            [](CCommand& c) { static_cast<CAnimation&>(c.param()).mode = CAnimation::kOnce; }),
       "00:00:08:00,no,00:00:08:00,0,SHOW_ANIMATION,NO_HEAD,once,1,,"},
  };
  for (const auto& c : cases) {
    const std::string text = encodeCommandList({c.command.get()}, ListSeparator::Comma);
    EXPECT_EQ(text, std::string(kHeader) + c.row + "\r\n");
  }
}

// What is read back is what was written, in either separator; file names and
// byte codes come again from MakeWave.
TEST(CommandCsv, AnExportReadsBackAsTheSameCommands) {
  std::vector<std::unique_ptr<CCommand>> commands;
  commands.push_back(make(kSelectAbility, CSMPTETime(0, 0, 1, 3), [](CCommand& c) {
    c.SetTimed(true);
    c.SetResponseTime(CSMPTETime(0, 0, 9, 3));
    c.setRetransmissions(15);
  }));
  commands.push_back(make(kShowAnimation, CSMPTETime(23, 59, 59, 24), [](CCommand& c) {
    auto& animation = static_cast<CAnimation&>(c.param());
    animation.pictureId = 5639;
    animation.mode = 0x07;  // a mode byte of an older document
    animation.iconNumber = 200;
  }));
  commands.push_back(make(0x42, CSMPTETime(0, 0, 2, 0)));  // a code without a name
  commands.push_back(
      make(kPlaySound, CSMPTETime(0, 0, 3, 0), [](CCommand& c) { static_cast<CPlaySound&>(c.param()).soundId = 62; }));
  std::vector<const CCommand*> written;
  for (const auto& c : commands) written.push_back(c.get());
  for (const ListSeparator separator : {ListSeparator::Comma, ListSeparator::Tab}) {
    const std::string text = encodeCommandList(written, separator);
    std::vector<std::unique_ptr<CCommand>> read;
    ListReadError error;
    ASSERT_TRUE(decodeCommandList(text, separator, ListHeader::Required, read, error)) << error.reason;
    ASSERT_EQ(read.size(), commands.size());
    for (size_t i = 0; i < read.size(); ++i) {
      EXPECT_EQ(encodeCommandList({read[i].get()}, separator), encodeCommandList({written[i]}, separator));
      EXPECT_EQ(read[i]->makeByteCodeText(), written[i]->makeByteCodeText());
      EXPECT_EQ(read[i]->responseTime(), written[i]->responseTime());
    }
  }
}

TEST(CommandCsv, ABadRowRefusesTheWholeListNamingLineColumnAndValue) {
  const std::string header = "insert_time,timed,response_time,retransmissions,command,parameter,mode,icon\n";
  const std::string good = "00:00:01:00,no,,0,KEEP_ALIVE,,,\n";
  const struct {
    std::string row;
    const char* message;  // as describeListError gives it for "l.csv"
  } cases[] = {
      {"00:00:61:00,no,,0,KEEP_ALIVE,,,", "l.csv line 3: insert_time \"00:00:61:00\" is not a time of the day"},
      {"1:00,no,,0,KEEP_ALIVE,,,", "l.csv line 3: insert_time \"1:00\" is not a time code HH:MM:SS:FF"},
      {"00:00:02:00,maybe,,0,KEEP_ALIVE,,,", "l.csv line 3: timed \"maybe\" is not yes or no"},
      {"00:00:02:00,yes,00:00:09:01,0,KEEP_ALIVE,,,", "l.csv line 3: response_time \"00:00:09:01\" has frames"},
      {"00:00:02:00,yes,00:04:18:00,0,KEEP_ALIVE,,,", "l.csv line 3: response_time \"00:04:18:00\" is not 0 to 255"},
      {"00:00:02:00,no,,16,KEEP_ALIVE,,,", "l.csv line 3: retransmissions \"16\" is not a number from 0 to 15"},
      {"00:00:02:00,no,,0,JUMP,,,", "l.csv line 3: command \"JUMP\" is not a command name"},
      {"00:00:02:00,no,,0,KEEP_ALIVE,AB_IDLE,,", "l.csv line 3: parameter \"AB_IDLE\" is given for KEEP_ALIVE"},
      {"00:00:02:00,no,,0,PLAY_SOUND,AB_IDLE,,", "l.csv line 3: parameter \"AB_IDLE\" is not a name"},
      {"00:00:02:00,no,,0,PLAY_SOUND,65536,,", "l.csv line 3: parameter \"65536\" is out of range"},
      {"00:00:02:00,no,,0,PLAY_SOUND,1,icon,", "l.csv line 3: mode \"icon\" is given for a command other"},
      {"00:00:02:00,no,,0,SHOW_ANIMATION,1,spin,", "l.csv line 3: mode \"spin\" is not looped, once or icon"},
      {"00:00:02:00,no,,0,SHOW_ANIMATION,1,icon,256", "l.csv line 3: icon \"256\" is not a number from 0 to 255"},
      {"00:00:02:00,no,,0,KEEP_ALIVE,,,,,,", "l.csv line 3: has 11 fields, the header row 8"},
      {"\"00:00:02:00,no", "l.csv line 3: a quoted field is not closed"},
      {"\"00:00:02:00\"x,no,,0,KEEP_ALIVE,,,", "l.csv line 3: text follows the closing quote"},
      {"00:00:\x01\x02,no,,0,KEEP_ALIVE,,,", "l.csv line 3: insert_time \"00:00:??\" is not a time code"},
  };
  for (const auto& c : cases) {
    ListReadError error;
    const auto commands = decode(header + good + c.row + "\n" + good, error);
    EXPECT_TRUE(commands.empty()) << c.row;
    const std::string message = describeListError("l.csv", error);
    EXPECT_EQ(message.rfind(c.message, 0), 0u) << message;
  }
}

TEST(CommandCsv, TheHeaderNamesTheColumnsInAnyOrder) {
  const struct {
    std::string text;
    ListHeader header;
    const char* error;  // empty: read, with the command at 00:00:04:00 timed to 00:00:09:00
  } cases[] = {
      {"command,insert_time,icon,mode,parameter,retransmissions,response_time,timed,byte_code\n"
       "KEEP_ALIVE,00:00:04:00,,,,0,00:00:09:00,YES,0x99\n",
       ListHeader::Required, ""},
      // Rows pasted from a spreadsheet without their header, in the written order.
      {"00:00:04:00,yes,00:00:09:00,0,KEEP_ALIVE,,,\n", ListHeader::Optional, ""},
      {"00:00:04:00,yes,00:00:09:00,0,KEEP_ALIVE,,,\n", ListHeader::Required,
       "line 1: column \"00:00:04:00\" is not one"},
      {"insert_time,timed,response_time,retransmissions,command,parameter,mode\n", ListHeader::Required,
       "line 1: column \"icon\" is missing"},
      {"insert_time,timed,timed,response_time,retransmissions,command,parameter,mode,icon\n", ListHeader::Required,
       "line 1: column \"timed\" is named twice"},
      {"", ListHeader::Required, "line 1: is empty"},
  };
  for (const auto& c : cases) {
    ListReadError error;
    const auto commands = decode(c.text, error, c.header);
    if (*c.error) {
      EXPECT_NE(describeListError("l.csv", error).find(c.error), std::string::npos)
          << describeListError("l.csv", error);
      continue;
    }
    ASSERT_EQ(commands.size(), 1u) << error.reason;
    EXPECT_EQ(commands[0]->effectiveResponseTime(), CSMPTETime(0, 0, 9, 0));
  }
}

TEST(CsvTable, FieldsAreQuotedAndSplitAsRfc4180Says) {
  EXPECT_EQ(quoteField("plain", ','), "plain");
  EXPECT_EQ(quoteField("a,b", ','), "\"a,b\"");
  EXPECT_EQ(quoteField("a,b", '\t'), "a,b");
  EXPECT_EQ(quoteField("say \"hi\"", ','), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(quoteField("two\nlines", '\t'), "\"two\nlines\"");

  std::vector<TextRecord> records;
  TextSplitError error;
  ASSERT_TRUE(splitRecords("\xEF\xBB\xBF"
                           "a,\"b,\"\"c\"\"\",\r\n\r\n\"multi\r\nline\",x\ny",
                           ',', records, error));
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].fields, (std::vector<std::string>{"a", "b,\"c\"", ""}));
  EXPECT_EQ(records[1].line, 3u);
  EXPECT_EQ(records[1].fields, (std::vector<std::string>{"multi\r\nline", "x"}));
  EXPECT_EQ(records[2].line, 5u);
  EXPECT_EQ(records[2].fields, (std::vector<std::string>{"y"}));
  EXPECT_FALSE(splitRecords("a,b\"c", ',', records, error));
  EXPECT_EQ(error.line, 1u);
}
