// Reading an input named on the command line, which may be a pipe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace common {

// The most a stream input may hold. A file named on the command line is read
// whole into memory; an endless pipe must not take it all.
inline constexpr size_t kMaxStreamBytes = size_t(256) << 20;

// Reads a regular file, a pipe (`<(...)`, /dev/stdin) or a device to its end.
// A folder and an input of more than `limit` bytes are refused. On failure
// `error` names the file and the reason.
bool readStream(const std::filesystem::path& path, std::vector<uint8_t>& bytes, std::string& error,
                size_t limit = kMaxStreamBytes);
bool readStream(const std::filesystem::path& path, std::string& text, std::string& error,
                size_t limit = kMaxStreamBytes);

// Whether `path` names something other than a regular file (a pipe, a device).
bool isStream(const std::filesystem::path& path);

}  // namespace common
