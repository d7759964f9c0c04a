// Path helpers. Names read from scripts, project files and command lines may
// use either '\' or '/' as separator; paths shown to the user use the native one.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace common {

// Turns a name written with '\' or '/' separators into a path.
std::filesystem::path pathFromName(std::string_view name);

// The path as text with native separators, as shown in messages.
std::string displayPath(const std::filesystem::path& path);

// Joins a folder and a name (either may use either separator). An empty
// folder means the current folder: the name is returned alone.
std::filesystem::path joinPath(std::string_view folder, std::string_view name);

// Returns `path` when it exists as written; otherwise matches each component
// that is not found without regard to case against the entries of its folder.
// Returns `path` unchanged when no match exists.
std::filesystem::path findPathIgnoringCase(const std::filesystem::path& path);

// ASCII case-insensitive comparison, for extensions and keywords.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// The extension of a file name with its dot ("" when it has none).
std::string extensionOf(const std::filesystem::path& path);

}  // namespace common
