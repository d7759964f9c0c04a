// The temporary files of a run and the syncs that make them durable.
//
// A temporary file (common::TemporaryFile) is named after its target and the
// program, ".NAME.macrolift-XXXXXX", so that what a killed run leaves can be
// recognised; the next run in that tree removes such leftovers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>

namespace macrolift {

// True for a name a temporary file of this program gets.
bool isLeftoverTemporary(std::string_view name);

bool writeAll(int fd, const uint8_t* data, size_t size);
bool syncFolder(const std::filesystem::path& folder);
// Flushes every file system that holds one of `folders` to disk, once each.
bool syncFileSystems(const std::set<std::filesystem::path>& folders);

}  // namespace macrolift
