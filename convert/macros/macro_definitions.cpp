#include "macro_definitions.h"

#include <string_view>

#include "common/byte_order.h"
#include "common/file_io.h"
#include "common/paths.h"
#include "convert/foundation/id_tables.h"
#include "convert/foundation/line_reader.h"
#include "convert/foundation/project_file.h"

namespace voconv {

namespace {

bool startsWithIgnoringCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && common::equalsIgnoringCase(s.substr(0, prefix.size()), prefix);
}

struct WidthItem {
  std::string_view prefix;
  uint8_t width;
};
constexpr WidthItem kWidths[] = {{"8bit@byte", 8}, {"16bit@byte", 16}, {"24bit@byte", 24}, {"32bit@byte", 32}};

struct KindName {
  std::string_view name;
  ReferenceKind kind;
};
constexpr KindName kKinds[] = {
    {"None", ReferenceKind::None},
    {"Sample", ReferenceKind::Sample},
    {"SoundMacro", ReferenceKind::SoundMacro},
    {"SoundMacroStep", ReferenceKind::MacroStep},
    {"SoundMacroLoopStep", ReferenceKind::MacroStep},
    {"Table", ReferenceKind::Table},
    {"Keymap", ReferenceKind::Keymap},
};

constexpr std::string_view kIgnoredItems[] = {"MinValue=", "MaxValue=", "PresetValue=", "Type="};
constexpr std::string_view kReference = "Reference=";

uint32_t hexNumber(std::string_view text) {
  uint32_t value = 0;
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    uint32_t digit;
    if (c >= '0' && c <= '9')
      digit = uint32_t(c - '0');
    else if (c >= 'a' && c <= 'f')
      digit = uint32_t(c - 'a' + 10);
    else if (c >= 'A' && c <= 'F')
      digit = uint32_t(c - 'A' + 10);
    else
      break;
    value = (value << 4) | digit;  // only the low 8 bits are kept in the end
  }
  return value;
}

void parseItem(std::string_view item, ParameterReference& ref, common::Output& out) {
  for (const auto& w : kWidths) {
    if (startsWithIgnoringCase(item, w.prefix)) {
      ref.width = w.width;
      ref.startByte = uint8_t(leadingNumber(item.substr(w.prefix.size())));
      return;
    }
  }
  for (std::string_view ignored : kIgnoredItems) {
    if (startsWithIgnoringCase(item, ignored)) return;
  }
  if (startsWithIgnoringCase(item, kReference)) {
    const std::string_view name = item.substr(kReference.size());
    for (const auto& k : kKinds) {
      if (common::equalsIgnoringCase(name, k.name)) {
        ref.kind = k.kind;
        return;
      }
    }
    out.print("*** Warning: Found unknown reference type '%s'\n", std::string(name).c_str());
    return;
  }
  if (item.substr(0, 5) == "Hint=") return;
  out.print("*** Warning: Unknown command definition parameter '%s' delected.\n", std::string(item).c_str());
}

ParameterReference parseValueLine(std::string_view items, common::Output& out) {
  ParameterReference ref;
  while (!items.empty()) {
    const size_t comma = items.find(',');
    const std::string_view item = items.substr(0, comma);
    if (!item.empty()) parseItem(item, ref, out);
    if (comma == std::string_view::npos) break;
    items.remove_prefix(comma + 1);
  }
  return ref;
}

void listCommand(const CommandDefinition& command, common::Output& out) {
  out.print("0x%02x : ", command.number);
  for (const auto& ref : command.references) out.print("[%d:%d-%d] ", ref.startByte, ref.width, int(ref.kind));
  out.print("\n");
}

}  // namespace

CommandDefinition& CommandTable::define(uint8_t number) {
  CommandDefinition& command = commands_.replaceOrAppend(number);
  command.number = number;
  return command;
}

const std::vector<ParameterReference>& CommandTable::commandReferences(uint8_t number) const {
  static const std::vector<ParameterReference> kNone;
  const CommandDefinition* command = commands_.find(number);
  return command ? command->references : kNone;
}

void parseMacroDefinitions(const std::string& text, CommandTable& table, common::Output& out, bool verbose) {
  LineReader reader(text);
  CommandDefinition* current = nullptr;
  std::string line;
  auto finishCommand = [&] {
    if (current && verbose) listCommand(*current, out);
    current = nullptr;
  };
  while (reader.next(line)) {
    if (line.rfind("[$", 0) == 0) {
      finishCommand();
      const size_t close = line.find(']');
      if (close != std::string::npos)
        current = &table.define(uint8_t(hexNumber(std::string_view(line).substr(2, close - 2))));
      continue;
    }
    if (!current) continue;
    std::string packed;
    for (char c : line) {
      if (c != ' ' && c != '\t') packed += c;
    }
    if (!startsWithIgnoringCase(packed, "Value=")) continue;
    current->references.push_back(parseValueLine(std::string_view(packed).substr(6), out));
  }
  finishCommand();
}

bool readMacroDefinitions(const std::filesystem::path& path, CommandTable& table, common::Output& out, bool verbose) {
  std::string text;
  std::string error;
  if (!readProjectFile(path, text, error)) {
    out.print("*** Could not open macro definition file <%s>\n", common::displayPath(path).c_str());
    return false;
  }
  parseMacroDefinitions(text, table, out, verbose);
  return true;
}

void renumberMacroOperands(std::span<uint8_t> steps, int script, const CommandTable& table, IdTables& ids) {
  for (size_t step = 0; step + kMacroStepSize <= steps.size(); step += kMacroStepSize) {
    uint8_t* bytes = steps.data() + step;
    for (const ParameterReference& ref : table.commandReferences(bytes[0])) {
      // A 16-bit value must lie inside the step's parameter bytes 1 to 7.
      if (ref.startByte < 1 || ref.startByte + 2u > kMacroStepSize) continue;
      uint8_t* field = bytes + ref.startByte;
      const uint16_t value = common::loadU16(field, common::Endian::Little);
      switch (ref.kind) {
        case ReferenceKind::Sample:
          common::storeU16(field, ids.renumber(IdKind::Sample, value, script), common::Endian::Little);
          break;
        case ReferenceKind::SoundMacro:
          common::storeU16(field, ids.renumber(IdKind::SoundMacro, value, script), common::Endian::Little);
          break;
        case ReferenceKind::Table:
          common::storeU16(field, ids.renumber(IdKind::Table, value & 0x3FFF, script) | 0xC000, common::Endian::Little);
          break;
        case ReferenceKind::None:
        case ReferenceKind::MacroStep:
        case ReferenceKind::Keymap: break;
      }
    }
  }
}

}  // namespace voconv
