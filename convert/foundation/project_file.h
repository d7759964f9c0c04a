// Reading the files a project names. Only regular files are read, so that a
// name such as a device or a pipe cannot make the converter read forever.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace voconv {

bool readProjectFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes, std::string& error);
bool readProjectFile(const std::filesystem::path& path, std::string& text, std::string& error);

// Whether `path` names something that is there but that a sample reader
// refuses: not a regular file, or larger than the sample size limit.
bool refusedAsSampleFile(const std::filesystem::path& path);

}  // namespace voconv
