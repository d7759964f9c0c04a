// The written definition file read back by the converter's macro definition
// reader, as voconv reads it: 56 commands whose parameters have the widths,
// start bytes and reference kinds of the Game Boy Advance driver.
#include <gtest/gtest.h>

#include <sstream>

#include "common/testing/cli_run.h"
#include "convert/macros/macro_definitions.h"
#include "macrolift/gba_command_definitions.h"

namespace {

// start/width/reference kind of each parameter, typed in from the driver's
// command table (0 none, 1 sample, 2 sound macro, 3 macro step, 4 table).
const std::pair<int, const char*> kCommands[] = {
    {0x00, ""},
    {0x01, ""},
    {0x02, "1/8/0 2/8/0 3/8/0 6/16/0"},
    {0x03, "1/8/0 2/8/0 3/8/0 4/16/3 6/16/0"},
    {0x04, "2/16/2 4/16/3"},
    {0x05, "1/8/0 2/16/2 4/16/3"},
    {0x06, "1/8/0 2/16/2 4/16/3"},
    {0x07, "1/8/0 2/16/2 4/16/3"},
    {0x08, "1/8/0 2/16/2 4/16/3"},
    {0x09, "1/16/2 3/8/0 4/8/0 6/8/0 7/8/0"},
    {0x0A, "1/16/2"},
    {0x0B, "1/8/0"},
    {0x0C, ""},
    {0x0D, "2/16/2 4/16/3"},
    {0x0E, ""},
    {0x10, "1/8/0"},
    {0x11, "1/8/0"},
    {0x12, "1/16/1 3/8/0 4/8/0 5/24/0"},
    {0x13, "1/8/0 2/24/0 5/24/0"},
    {0x14, "1/8/0 2/24/0 5/24/0"},
    {0x15, "1/16/2 3/16/0"},
    {0x16, "1/8/0 6/8/0 7/8/0"},
    {0x17, "1/8/0"},
    {0x18, "1/8/0 2/8/0 3/8/0"},
    {0x19, "1/8/0 2/8/0 3/8/0 6/16/0"},
    {0x1A, "1/8/0 2/8/0 3/8/0 4/8/0"},
    {0x1B, "1/16/1"},
    {0x1C, "1/16/0 3/16/0 5/8/0 6/8/0"},
    {0x1D, "1/16/0"},
    {0x1E, "1/24/0"},
    {0x20, "1/8/0 2/8/0 3/8/0"},
    {0x21, "1/8/0"},
    {0x22, "1/16/4 3/8/0"},
    {0x23, "1/8/0 6/16/0"},
    {0x24, "1/8/0 6/16/0"},
    {0x25, "1/8/0 2/8/0 3/8/0 4/8/0 6/16/0"},
    {0x26, "1/16/0 3/8/0 4/8/0"},
    {0x28, "1/8/0"},
    {0x30, "1/8/0 2/8/0"},
    {0x31, "1/8/0 2/8/0 3/8/0"},
    {0x32, "1/8/0 2/8/0 3/8/0 4/8/0 6/8/0 7/8/0"},
    {0x33, "1/8/0 2/8/0"},
    {0x34, "1/8/0 2/8/0 6/16/0"},
    {0x35, "1/8/0 2/8/0 5/8/0 6/16/0"},
    {0x36, "1/8/0 2/8/0 3/8/0 6/16/0"},
    {0x37, "1/8/0 2/8/0 6/16/0"},
    {0x38, "1/8/0 2/8/0 3/8/0 4/8/0 5/8/0 6/8/0 7/8/0"},
    {0x39, "1/8/0 2/8/0 3/8/0 4/8/0"},
    {0x40, "1/16/1 3/8/0 4/8/0 5/8/0 6/8/0 7/8/0"},
    {0x41, "1/8/0"},
    {0x42, "1/8/0"},
    {0x43, "1/16/0"},
    {0x44, "1/16/0"},
    {0x45, "1/8/0 2/8/0"},
    {0x46, ""},
    {0x47, "1/8/0"},
};

}  // namespace

TEST(MacroliftDefinitions, TheConverterReadsTheWrittenFile) {
  testing_support::TempDir dir;
  std::string error;
  ASSERT_TRUE(macrolift::writeDefinitionFile(dir.path(), error)) << error;
  voconv::CommandTable table;
  std::ostringstream messages;
  common::Output out(messages);
  ASSERT_TRUE(voconv::readMacroDefinitions(dir / "GBAdvance_macrodef.vqd", table, out, false));
  EXPECT_EQ(messages.str(), "");  // no unknown items or reference names
  EXPECT_EQ(table.size(), 56u);
  for (const auto& [number, fields] : kCommands) {
    SCOPED_TRACE(number);
    ASSERT_NE(table.find(uint8_t(number)), nullptr);
    std::string read;
    for (const voconv::ParameterReference& r : table.commandReferences(uint8_t(number))) {
      if (!read.empty()) read += ' ';
      read += std::to_string(r.startByte) + "/" + std::to_string(r.width) + "/" + std::to_string(int(r.kind));
    }
    EXPECT_EQ(read, fields);
  }
}
