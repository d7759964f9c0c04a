// Whole-file reading and safe file replacement.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace common {

// Reads a whole file. On failure returns false and sets `error` to a message
// that names the file and the reason.
bool readWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes, std::string& error);
bool readWholeFile(const std::filesystem::path& path, std::string& text, std::string& error);

// Writes a file so that it is either replaced completely or left as it was:
// the bytes go to a temporary file in the same folder, which is flushed and
// renamed over the target on commit(). A writer destroyed without a successful
// commit() removes its temporary file.
class SafeFileWriter {
 public:
  SafeFileWriter() = default;
  ~SafeFileWriter();
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  // Creates the temporary file beside `target`. Fails when the folder does not
  // exist or is not writable, or when `target` names a folder.
  bool open(const std::filesystem::path& target);
  bool write(std::span<const uint8_t> data);
  bool write(std::string_view text);
  // Appends everything from `source`'s current position to its end. Where the
  // system can copy between files in the kernel it does so; elsewhere the
  // bytes go through a buffer. The source's position is left unspecified.
  enum class CopyResult { Done, ReadFailed, WriteFailed };
  CopyResult copyFrom(std::FILE* source);
  // Flushes, closes and renames the temporary file over the target.
  bool commit();
  // Removes the temporary file; the target stays as it was.
  void abandon();

  bool isOpen() const { return file_ != nullptr; }
  const std::filesystem::path& target() const { return target_; }
  // The reason of the last failure, naming the file.
  const std::string& error() const { return error_; }

 private:
  bool fail(const std::string& what);

  std::FILE* file_ = nullptr;
  std::filesystem::path target_;
  std::filesystem::path temp_;
  std::string error_;
};

// Replaces `target` with `data` through a SafeFileWriter.
bool replaceFile(const std::filesystem::path& target, std::span<const uint8_t> data, std::string& error);
bool replaceFile(const std::filesystem::path& target, std::string_view text, std::string& error);

}  // namespace common
