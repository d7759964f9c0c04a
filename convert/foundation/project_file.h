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

}  // namespace voconv
