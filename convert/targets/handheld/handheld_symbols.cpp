#include "convert/targets/handheld/handheld_symbols.h"

#include "common/output.h"
#include "convert/include_file.h"

namespace voconv {
namespace {

// A name whose characters cannot all stand in a symbol is written with `_`
// for each of them, as every other symbol of the include file.
std::string line(SymbolForm form, const char* prefix, const std::string& name, size_t value) {
  const std::string symbol = symbolText(name);
  return form == SymbolForm::C ? common::format("#define %s%s\t%zu\n", prefix, symbol.c_str(), value)
                               : common::format("%s%s\tEQU\t%zu\n", prefix, symbol.c_str(), value);
}

}  // namespace

std::string effectSymbols(const HandheldProject& project, SymbolForm form) {
  std::string text;
  size_t index = 0;
  for (const auto& group : project.effectGroups) {
    for (const HandheldEffect& fx : group) {
      const std::string name = fx.name.empty() ? common::format("FX%05d", fx.id) : fx.name;
      text += line(form, "SFXID_", name, index++);
    }
  }
  return text;
}

std::string songSymbols(const HandheldProject& project, SymbolForm form) {
  std::string text;
  for (size_t i = 0; i < project.setups.size(); ++i) text += line(form, "SONGID_", project.setups[i].name, i);
  return text;
}

}  // namespace voconv
