// Rewriting a user's file in place without ever losing it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "planned_writes.h"

namespace macrolift {

// Replaces the file's content safely, keeping its owner, group and
// permissions. A symbolic link of that name is not followed: the walk never
// hands one over, and a file written by name replaces a link there. With a
// `plan` the file is only checked and its content kept for the plan's
// writing. On failure `error` names the file and the reason.
ReplaceResult replaceInPlace(const std::filesystem::path& path, std::span<const uint8_t> data, std::string& error,
                             PlannedWrites* plan = nullptr);
ReplaceResult replaceInPlace(const std::filesystem::path& path, std::string_view text, std::string& error);

}  // namespace macrolift
