// The macro definition file ("macrodef.vqd") and the command table the
// converter keeps from it: for each macro command, which bytes of a macro
// step hold which kind of object reference.
//
// The file is read with the converter's line reader. Only "[$hh]" command
// sections and their "Value=" lines matter here; the header sections,
// templates, names, icons and hints serve the macro editor.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "common/output.h"
#include "convert/foundation/keyed_list.h"

namespace voconv {

class IdTables;

enum class ReferenceKind : uint8_t {
  None = 0,
  Sample = 1,
  SoundMacro = 2,
  MacroStep = 3,  // "SoundMacroStep" and "SoundMacroLoopStep"
  Table = 4,
  Keymap = 5,
};

// One parameter of a command, from one "Value=" line.
struct ParameterReference {
  uint8_t width = 0;      // 8, 16, 24 or 32 bits; 0 when the line names none
  uint8_t startByte = 0;  // byte of the 8-byte step where the parameter starts
  ReferenceKind kind = ReferenceKind::None;

  bool operator==(const ParameterReference&) const = default;
};

struct CommandDefinition {
  uint8_t number = 0;
  std::vector<ParameterReference> references;  // in the order of the Value lines
};

class CommandTable {
 public:
  // A new, empty definition of `number` that replaces any earlier one.
  CommandDefinition& define(uint8_t number);
  // The parameters of a command; empty for an unknown command.
  const std::vector<ParameterReference>& commandReferences(uint8_t number) const;
  const CommandDefinition* find(uint8_t number) const { return commands_.find(number); }
  const KeyedList<CommandDefinition>& commands() const { return commands_; }
  size_t size() const { return commands_.size(); }
  void clear() { commands_.clear(); }

 private:
  KeyedList<CommandDefinition> commands_;
};

// Reads a macro definition file into `table`. A file that cannot be opened is
// the only failure ("*** Could not open macro definition file <%s>"); unknown
// items and reference names are warnings. With `verbose` each command is
// listed as it is read.
bool readMacroDefinitions(const std::filesystem::path& path, CommandTable& table, common::Output& out, bool verbose);
// The same on text already in memory.
void parseMacroDefinitions(const std::string& text, CommandTable& table, common::Output& out, bool verbose);

constexpr size_t kMacroStepSize = 8;

// Renumbers the object references in a macro's steps (8 bytes each; a
// trailing part of a step is left alone) with the ID maps of `script`:
// sample, sound macro and table references get their merged IDs (tables with
// the flag 0xC000); other kinds and unknown commands stay as they are. A
// reference is always handled as a 16-bit little-endian value.
void renumberMacroOperands(std::span<uint8_t> steps, int script, const CommandTable& table, IdTables& ids);

}  // namespace voconv
