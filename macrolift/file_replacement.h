// Rewriting a user's file in place without ever losing it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace macrolift {

enum class ReplaceResult {
  Replaced,
  // The file is write-protected (no write permission for its owner) or its
  // replacement cannot be created; the file is as it was.
  CannotOpen,
  // Writing or renaming failed; the file is as it was.
  WriteFailed,
};

// Replaces the file's content through a temporary file in the same folder
// that is renamed over it, then gives the new file the old one's permissions.
// `permissions` are the file's as the caller read them (looked up when not
// given). On failure `error` names the file and the reason.
ReplaceResult replaceInPlace(const std::filesystem::path& path, std::span<const uint8_t> data, std::string& error,
                             std::optional<std::filesystem::perms> permissions = std::nullopt);
ReplaceResult replaceInPlace(const std::filesystem::path& path, std::string_view text, std::string& error);

}  // namespace macrolift
