// Whole-file reading; safe file replacement lives in safe_file_writer.h.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "safe_file_writer.h"
#include "stream_input.h"

namespace common {

// Reads a whole file. On failure returns false and sets `error` to a message
// that names the file and the reason.
bool readWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes, std::string& error);
bool readWholeFile(const std::filesystem::path& path, std::string& text, std::string& error);

}  // namespace common
