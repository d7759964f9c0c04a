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

// How reading a file that project data names ended.
enum class RegularFileRead { Ok, CannotOpen, NotRegular, TooLarge, ReadFailed };

// Reads a file only when it is a regular file of at most `limit` bytes: it is
// opened without blocking (a FIFO would wait for a writer) and checked on the
// open descriptor, so a device or a pipe is never read. `error` names the file
// and the reason.
RegularFileRead readRegularFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes, std::string& error,
                                uint64_t limit = UINT64_MAX);
RegularFileRead readRegularFile(const std::filesystem::path& path, std::string& text, std::string& error,
                                uint64_t limit = UINT64_MAX);

}  // namespace common
