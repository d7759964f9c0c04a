#include "gba_command_definitions.h"

#include "common/file_io.h"

namespace macrolift {

bool writeDefinitionFile(const std::filesystem::path& folder, std::string& error) {
  return common::replaceFile(folder / kDefinitionFileName, kGbaCommandDefinitions, error);
}

}  // namespace macrolift
