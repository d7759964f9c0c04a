// The Game Boy Advance command definition file that replaces a project's
// Game Boy macro definition files.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "planned_writes.h"

namespace macrolift {

inline constexpr std::string_view kDefinitionFileName = "GBAdvance_macrodef.vqd";

// The whole definition file: sections, command table, templates and comments.
extern const std::string_view kGbaCommandDefinitions;

// Writes kGbaCommandDefinitions as kDefinitionFileName into `folder`,
// replacing a file of that name. The file is replaced whole or not at all;
// on failure `error` names the file and the reason. With a `plan` the file is
// only checked and its content kept for the plan's writing.
bool writeDefinitionFile(const std::filesystem::path& folder, std::string& error, PlannedWrites* plan = nullptr);

}  // namespace macrolift
