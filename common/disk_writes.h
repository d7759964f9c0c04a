// Descriptor-level writing and flushing shared by the writers that replace
// files: a write that retries until every byte is written, and the syncs of
// folders and of whole file systems.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <set>

namespace common {

// Writes all `size` bytes to `fd`, retrying after signals. False on an error
// or a write that makes no progress (errno tells why).
bool writeAll(int fd, const uint8_t* data, size_t size);

// Flushes a folder's entries (new names, removed names) to disk.
bool syncFolder(const std::filesystem::path& folder);

// Flushes every file system that holds one of `folders` to disk, once each.
// False when a folder cannot be opened or a flush fails.
bool syncFileSystems(const std::set<std::filesystem::path>& folders);

}  // namespace common
