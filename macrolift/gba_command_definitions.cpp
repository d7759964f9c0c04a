#include "gba_command_definitions.h"

#include "common/safe_file_writer.h"
#include "program_name.h"

namespace macrolift {

bool writeDefinitionFile(const std::filesystem::path& folder, std::string& error, PlannedWrites* plan) {
  // A link of that name is replaced, not followed, as everywhere in the walk.
  if (plan != nullptr) {
    const auto* text = reinterpret_cast<const uint8_t*>(kGbaCommandDefinitions.data());
    return plan->plan(folder / kDefinitionFileName, common::LinkRule::ReplaceLink,
                      std::vector<uint8_t>(text, text + kGbaCommandDefinitions.size()),
                      error) == ReplaceResult::Replaced;
  }
  common::SafeFileWriter writer(kProgramName);
  if (writer.open(folder / kDefinitionFileName, common::LinkRule::ReplaceLink) &&
      writer.write(kGbaCommandDefinitions) && writer.commit())
    return true;
  error = writer.error();
  return false;
}

}  // namespace macrolift
