// Rewriting a user's file in place without ever losing it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "common/safe_file_writer.h"

namespace macrolift {

enum class ReplaceResult {
  Replaced,
  // The file is write-protected (no write permission for its owner) or its
  // replacement cannot be created; the file is as it was.
  CannotOpen,
  // Writing or renaming failed; the file is as it was.
  WriteFailed,
};

// Replaces the file's content safely, keeping its owner, group and
// permissions. A symbolic link of that name is not followed: the walk never
// hands one over, and a file written by name replaces a link there. With a
// `batch` the rename waits for batch.commit(). On failure `error` names the
// file and the reason.
ReplaceResult replaceInPlace(const std::filesystem::path& path, std::span<const uint8_t> data, std::string& error,
                             common::SafeWriteBatch* batch = nullptr);
ReplaceResult replaceInPlace(const std::filesystem::path& path, std::string_view text, std::string& error);

}  // namespace macrolift
