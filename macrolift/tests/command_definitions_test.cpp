// Reads the Game Boy Advance definition text with a small reader written from
// the definition file syntax (sections, key = value, Value items) and checks
// it against the command table of the Game Boy Advance driver, typed in here
// by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <vector>

#include "common/testing/cli_run.h"
#include "macrolift/gba_command_definitions.h"

namespace {

using testing_support::TempDir;

std::string trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::string withoutBlanks(std::string s) {
  s.erase(std::remove_if(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\t'; }), s.end());
  return s;
}

std::string lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

struct Reference {
  int width = 0, start = 0, kind = 0;
};

struct Command {
  std::string name, type;
  std::vector<Reference> references;
};

struct Template {
  std::string name;
  std::vector<std::string> steps;
};

struct Definitions {
  std::vector<int> order;  // command numbers in the order of their sections
  std::map<int, Command> commands;
  std::vector<Template> templates;
  std::vector<std::string> commandTypes;
  std::map<std::string, std::string> header;  // keys of [Soundmacro.Commanddef]
};

Reference parseValue(const std::string& items) {
  Reference ref;
  std::stringstream in(items);
  std::string item;
  while (std::getline(in, item, ',')) {
    const std::string l = lower(item);
    for (int width : {8, 16, 24, 32}) {
      const std::string prefix = std::to_string(width) + "bit@byte";
      if (l.rfind(prefix, 0) == 0) {
        ref.width = width;
        ref.start = std::stoi(l.substr(prefix.size()));
      }
    }
    if (l.rfind("reference=", 0) == 0) {
      static const std::map<std::string, int> kinds = {
          {"none", 0},  {"sample", 1}, {"soundmacro", 2}, {"soundmacrostep", 3}, {"soundmacroloopstep", 3},
          {"table", 4}, {"keymap", 5}};
      ref.kind = kinds.at(l.substr(10));
    }
  }
  return ref;
}

Definitions readDefinitions(std::string_view text) {
  Definitions d;
  std::stringstream in{std::string(text)};
  std::string raw, section;
  Command* current = nullptr;
  while (std::getline(in, raw)) {
    const std::string line = trim(raw.substr(0, raw.find(';')));
    if (line.empty()) continue;
    if (line[0] == '[') {
      section = line;
      current = nullptr;
      if (line.rfind("[$", 0) == 0 && line.back() == ']') {
        const int number = std::stoi(line.substr(2, line.size() - 3), nullptr, 16);
        d.order.push_back(number);
        current = &d.commands[number];
      } else if (line == "[Template_begin]") {
        d.templates.emplace_back();
      }
      continue;
    }
    const auto eq = line.find('=');
    const std::string key = trim(line.substr(0, eq)), value = eq == std::string::npos ? "" : trim(line.substr(eq + 1));
    if (current != nullptr) {
      if (key == "Name") current->name = value;
      if (key == "Type") current->type = value;
      if (key == "Value") current->references.push_back(parseValue(withoutBlanks(value)));
    } else if (section == "[Template_begin]") {
      if (key == "Name") d.templates.back().name = value;
      if (key == "Macrostep") d.templates.back().steps.push_back(value);
    } else if (section == "[CommandTypes]") {
      d.commandTypes.push_back(line);
    } else if (section == "[Soundmacro.Commanddef]") {
      d.header[key] = value;
    }
  }
  return d;
}

// Each field as start/width/reference kind (0 none, 1 sample, 2 macro, 3 macro step, 4 table).
struct Expected {
  int number;
  const char* type;
  const char* name;
  const char* fields;
};

const Expected kTable[] = {
    {0x00, "Structure", "END", ""},
    {0x01, "Structure", "STOP", ""},
    {0x02, "Structure", "WAIT", "1/8/0 2/8/0 3/8/0 6/16/0"},
    {0x03, "Structure", "LOOP", "1/8/0 2/8/0 3/8/0 4/16/3 6/16/0"},
    {0x04, "Structure", "GOTO", "2/16/2 4/16/3"},
    {0x05, "Structure", "SPLIT_KEY", "1/8/0 2/16/2 4/16/3"},
    {0x06, "Structure", "SPLIT_VEL", "1/8/0 2/16/2 4/16/3"},
    {0x07, "Structure", "SPLIT_RND", "1/8/0 2/16/2 4/16/3"},
    {0x08, "Structure", "SPLIT_FLAG", "1/8/0 2/16/2 4/16/3"},
    {0x09, "Structure", "PLAYMACRO", "1/16/2 3/8/0 4/8/0 6/8/0 7/8/0"},
    {0x0A, "Structure", "KEYOFF_MACRO", "1/16/2"},
    {0x0B, "Structure", "KEYOFF_VOICE", "1/8/0"},
    {0x0C, "Structure", "KEYOFF_ADSR", ""},
    {0x0D, "Structure", "TRAP_KEYOFF", "2/16/2 4/16/3"},
    {0x0E, "Structure", "UNTRAP_KEYOFF", ""},
    {0x10, "Voice/Sample", "VOICE_ON", "1/8/0"},
    {0x11, "Voice/Sample", "VOICE_OFF", "1/8/0"},
    {0x12, "Voice/Sample", "SMP_SELECT", "1/16/1 3/8/0 4/8/0 5/24/0"},
    {0x13, "Voice/Sample", "SMP_LENGTH", "1/8/0 2/24/0 5/24/0"},
    {0x14, "Voice/Sample", "SMP_LENLOOP", "1/8/0 2/24/0 5/24/0"},
    {0x15, "Voice/Sample", "SMP_MAPSELECT", "1/16/2 3/16/0"},
    {0x16, "Voice/Sample", "SETVOICE", "1/8/0 6/8/0 7/8/0"},
    {0x17, "Voice/Sample", "SETDUTY", "1/8/0"},
    {0x18, "Voice/Sample", "SETNOISE", "1/8/0 2/8/0 3/8/0"},
    {0x19, "Voice/Sample", "PWM_START", "1/8/0 2/8/0 3/8/0 6/16/0"},
    {0x1A, "Voice/Sample", "PWM_VELOCITY", "1/8/0 2/8/0 3/8/0 4/8/0"},
    {0x1B, "Voice/Sample", "PWM_USRSAMPLE", "1/16/1"},
    {0x1C, "Voice/Sample", "SMP_SHIFT", "1/16/0 3/16/0 5/8/0 6/8/0"},
    {0x1E, "Voice/Sample", "SMP_SETLOOP", "1/24/0"},
    {0x1D, "Voice/Sample", "SMP_ADDLOOP", "1/16/0"},
    {0x20, "Volume/Panning", "PANNING", "1/8/0 2/8/0 3/8/0"},
    {0x21, "Volume/Panning", "SETVOLUME", "1/8/0"},
    {0x22, "Volume/Panning", "SETADSR", "1/16/4 3/8/0"},
    {0x23, "Volume/Panning", "ENVELOPE", "1/8/0 6/16/0"},
    {0x24, "Volume/Panning", "HARDENVELOPE", "1/8/0 6/16/0"},
    {0x25, "Volume/Panning", "PANNING_MOD", "1/8/0 2/8/0 3/8/0 4/8/0 6/16/0"},
    {0x26, "Volume/Panning", "SCALEVOLUME", "1/16/0 3/8/0 4/8/0"},
    {0x28, "Delay", "MIX_DELAY", "1/8/0"},
    {0x30, "Pitch", "SETNOTE", "1/8/0 2/8/0"},
    {0x31, "Pitch", "ADDNOTE", "1/8/0 2/8/0 3/8/0"},
    {0x32, "Pitch", "RNDNOTE", "1/8/0 2/8/0 3/8/0 4/8/0 6/8/0 7/8/0"},
    {0x33, "Pitch", "LASTNOTE", "1/8/0 2/8/0"},
    {0x34, "Pitch", "VIBRATO", "1/8/0 2/8/0 6/16/0"},
    {0x35, "Pitch", "PITCHSWEEP", "1/8/0 2/8/0 5/8/0 6/16/0"},
    {0x36, "Pitch", "PORTAMENTO", "1/8/0 2/8/0 3/8/0 6/16/0"},
    {0x37, "Pitch", "PORTLAST", "1/8/0 2/8/0 6/16/0"},
    {0x38, "Pitch", "STOP_MOD", "1/8/0 2/8/0 3/8/0 4/8/0 5/8/0 6/8/0 7/8/0"},
    {0x39, "Pitch", "RESET_MOD", "1/8/0 2/8/0 3/8/0 4/8/0"},
    {0x40, "Special", "SAMPLEMAP", "1/16/1 3/8/0 4/8/0 5/8/0 6/8/0 7/8/0"},
    {0x41, "Special", "SET_PRIORITY", "1/8/0"},
    {0x42, "Special", "ADD_PRIORITY", "1/8/0"},
    {0x43, "Special", "SET_AGE_COUNT", "1/16/0"},
    {0x47, "Special", "SET_AGE_SPEED", "1/8/0"},
    {0x44, "Special", "ADD_AGE_COUNT", "1/16/0"},
    {0x45, "Special", "CHANGEFLAG", "1/8/0 2/8/0"},
    {0x46, "Special", "CURRENTVOL", ""},
};

std::string fieldsOf(const Command& c) {
  std::string s;
  for (const Reference& r : c.references) {
    if (!s.empty()) s += ' ';
    s += std::to_string(r.start) + "/" + std::to_string(r.width) + "/" + std::to_string(r.kind);
  }
  return s;
}

std::vector<std::string> linesOf(std::string_view text) {
  std::vector<std::string> lines;
  std::stringstream in{std::string(text)};
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace

TEST(MacroliftDefinitions, HasTheSizeAndShapeOfTheDefinitionFile) {
  const std::string_view text = macrolift::kGbaCommandDefinitions;
  EXPECT_EQ(text.size(), 42940u);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 776);
  EXPECT_EQ(text.back(), '\n');
  EXPECT_EQ(text.find('\r'), std::string_view::npos);
  EXPECT_EQ(text.find('\0'), std::string_view::npos);
  const auto lines = linesOf(text);
  ASSERT_EQ(lines.size(), 776u);
  EXPECT_EQ(lines.front(), "; Vocta - Qmel Command-definitionfile");
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      "; !!!! Please do not change here anything unless you exactly know what you are doing !!!!"),
            lines.end());
  EXPECT_EQ(lines[774], "; Next command will be $48");
  EXPECT_EQ(lines[775], ";end <------ do not delete this comment");
  // Every line before the first section is a comment.
  for (size_t i = 0; i < lines.size() && lines[i] != "[Soundmacro.Commanddef]"; ++i) {
    EXPECT_TRUE(lines[i].empty() || lines[i][0] == ';') << lines[i];
  }
}

TEST(MacroliftDefinitions, DescribesTheFiftySixCommandsInTheirOrder) {
  const Definitions d = readDefinitions(macrolift::kGbaCommandDefinitions);
  ASSERT_EQ(d.order.size(), std::size(kTable));
  ASSERT_EQ(d.commands.size(), 56u);
  for (size_t i = 0; i < std::size(kTable); ++i) {
    const Expected& e = kTable[i];
    SCOPED_TRACE(e.name);
    EXPECT_EQ(d.order[i], e.number);
    const Command& c = d.commands.at(e.number);
    EXPECT_EQ(c.name, e.name);
    EXPECT_EQ(c.type, e.type);
    EXPECT_EQ(fieldsOf(c), e.fields);
  }
}

TEST(MacroliftDefinitions, HasTheHeaderSectionsAndTemplates) {
  const Definitions d = readDefinitions(macrolift::kGbaCommandDefinitions);
  EXPECT_EQ(d.header.at("System"), "GameBoyAdvance");
  EXPECT_EQ(d.header.at("Name"), "Game Boy Advance command definition");
  EXPECT_EQ(d.commandTypes, (std::vector<std::string>{"CMD_Structure", "CMD_Voice/Sample", "CMD_Volume/Panning",
                                                      "CMD_Delay", "CMD_Pitch", "CMD_Special"}));
  const std::vector<std::string> names = {"?_smp_oneshot",     "?_smp_loop",       "?_smp_reverse",
                                          "?_smp_softrelease", "?_smp_addvibrato", "?_sound3_wave"};
  ASSERT_EQ(d.templates.size(), names.size());
  for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(d.templates[i].name, names[i]);
  // The steps of each template as written in the file: $xx bytes, comma separated.
  const std::vector<std::vector<std::string>> steps = {
      {"12 00 00 00 00 00 00 00", "10 00 00 00 00 00 00 00", "02 00 00 01 00 00 FF FF", "00 00 00 00 00 00 00 00"},
      {"12 00 00 00 00 00 00 00", "10 00 00 00 00 00 00 00", "02 01 00 01 00 00 FF FF", "23 00 00 00 00 00 F4 01",
       "02 00 00 01 00 00 F4 01", "11 00 00 00 00 00 00 00", "00 00 00 00 00 00 00 00"},
      {"12 00 00 00 00 00 00 00", "13 01 00 00 00 00 00 00", "10 00 00 00 00 00 00 00", "02 01 00 01 00 00 FF FF",
       "11 00 00 00 00 00 00 00", "00 00 00 00 00 00 00 00"},
      {"12 00 00 00 00 00 00 00", "10 00 00 00 00 00 00 00", "02 01 00 01 00 00 FF FF", "23 00 00 00 00 00 64 00",
       "02 00 00 01 00 00 3C 00", "44 00 80 00 00 00 00 00", "23 00 00 00 00 00 E8 03", "02 00 00 01 00 00 E8 03",
       "11 00 00 00 00 00 00 00", "00 00 00 00 00 00 00 00"},
      {"12 1F 00 00 00 00 00 00", "10 00 00 00 00 00 00 00", "02 01 00 01 00 00 90 01", "34 00 1E 00 00 00 DC 00",
       "02 01 00 01 00 00 FF FF", "44 00 80 00 00 00 00 00", "23 00 00 00 00 00 F4 01", "02 00 00 01 00 00 F4 01",
       "11 00 00 00 00 00 00 00", "00 00 00 00 00 00 00 00"},
      {"12 00 00 00 00 00 00 00", "10 00 00 00 00 00 00 00", "02 01 00 00 00 00 FF FF", "11 00 00 00 00 00 00 00",
       "00 00 00 00 00 00 00 00"},
  };
  for (size_t t = 0; t < steps.size(); ++t) {
    SCOPED_TRACE(d.templates[t].name);
    std::vector<std::string> written;
    for (const std::string& s : steps[t]) {
      std::string line = "$" + s.substr(0, 2);
      for (size_t b = 3; b < s.size(); b += 3) line += ",$" + s.substr(b, 2);
      written.push_back(line);
    }
    EXPECT_EQ(d.templates[t].steps, written);
  }
}

TEST(MacroliftDefinitions, WritesSampleIdFieldsInTheirOwnSpelling) {
  const auto lines = linesOf(macrolift::kGbaCommandDefinitions);
  const std::string sampleId =
      "Value = 16bit@byte1, Minvalue=0, Maxvalue=$ffff, Type=VAL_SAMPLEID, Reference=Sample, Hint=SampleID";
  EXPECT_EQ(std::count(lines.begin(), lines.end(), sampleId), 3);
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      "Value = 16bit@byte6, MinValue=1, MaxValue=65535, PresetValue=65535, Type=VAL_Normal, "
                      "Reference=None, Hint=Milliseconds"),
            lines.end());
}

TEST(MacroliftDefinitions, WriteDefinitionFileReplacesAnOlderOne) {
  TempDir dir;
  dir.write("GBAdvance_macrodef.vqd", std::string("old content that is longer than nothing"));
  std::string error;
  ASSERT_TRUE(macrolift::writeDefinitionFile(dir.path(), error)) << error;
  EXPECT_EQ(dir.readText("GBAdvance_macrodef.vqd"), std::string(macrolift::kGbaCommandDefinitions));
  EXPECT_EQ(dir.files(), std::vector<std::string>{"GBAdvance_macrodef.vqd"});
}

TEST(MacroliftDefinitions, WriteDefinitionFileFailsWhereTheNameIsAFolder) {
  TempDir dir;
  std::filesystem::create_directory(dir / "GBAdvance_macrodef.vqd");
  std::string error;
  EXPECT_FALSE(macrolift::writeDefinitionFile(dir.path(), error));
  EXPECT_NE(error.find("GBAdvance_macrodef.vqd"), std::string::npos);
  EXPECT_FALSE(macrolift::writeDefinitionFile(dir / "missing", error));
}
