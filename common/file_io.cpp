#include "file_io.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <system_error>

#include "paths.h"

#ifdef __linux__
#include <unistd.h>
#endif

namespace common {
namespace {

std::string reason(int err) { return err ? std::strerror(err) : "unknown error"; }

template <typename Container>
bool readInto(const std::filesystem::path& path, Container& out, std::string& error) {
  out.clear();
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + displayPath(path) + ": " + reason(errno);
    return false;
  }
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    error = "cannot read " + displayPath(path) + ": it is a folder";
    return false;
  }
  char buffer[1 << 16];
  while (in) {
    in.read(buffer, sizeof buffer);
    out.insert(out.end(), buffer, buffer + in.gcount());
  }
  if (in.bad()) {
    error = "cannot read " + displayPath(path) + ": " + reason(errno);
    return false;
  }
  return true;
}

// A name for the temporary file that no other writer of this process or of
// another one picks at the same moment.
std::filesystem::path temporaryNameBeside(const std::filesystem::path& target) {
  static std::atomic<unsigned> counter{0};
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  std::string name = ".";
  name += target.filename().string();
  name += ".tmp";
  name += std::to_string(now % 1000000007);
  name += '_';
  name += std::to_string(counter++);
  return target.parent_path() / name;
}

enum class KernelCopy { Done, Unsupported, Failed };

// Copies the rest of `source` into `target` inside the kernel, as cp does.
// Unsupported (nothing copied) when the system or these files do not allow it.
KernelCopy copyInKernel(std::FILE* source, std::FILE* target) {
#ifdef __linux__
  // Both streams' buffers are kept out of the way: the target's is flushed,
  // and the source is addressed by its logical position, not its descriptor's.
  const long start = std::ftell(source);
  if (start < 0 || std::fflush(target) != 0) return KernelCopy::Unsupported;
  loff_t offset = start;
  for (;;) {
    const ssize_t n = ::copy_file_range(fileno(source), &offset, fileno(target), nullptr, size_t(1) << 30, 0);
    if (n == 0) return KernelCopy::Done;
    if (n > 0) continue;
    const bool unsupported = errno == ENOSYS || errno == EXDEV || errno == EINVAL || errno == EOPNOTSUPP;
    if (offset == start && unsupported) return KernelCopy::Unsupported;
    return KernelCopy::Failed;
  }
#else
  (void)source;
  (void)target;
  return KernelCopy::Unsupported;
#endif
}

}  // namespace

bool readWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes, std::string& error) {
  return readInto(path, bytes, error);
}

bool readWholeFile(const std::filesystem::path& path, std::string& text, std::string& error) {
  return readInto(path, text, error);
}

SafeFileWriter::~SafeFileWriter() { abandon(); }

bool SafeFileWriter::fail(const std::string& what) {
  error_ = what;
  abandon();
  return false;
}

bool SafeFileWriter::open(const std::filesystem::path& target) {
  abandon();
  target_ = target;
  error_.clear();
  std::error_code ec;
  if (std::filesystem::is_directory(target, ec)) return fail("cannot create " + displayPath(target) + ": it is a folder");
  for (int attempt = 0; attempt < 100 && file_ == nullptr; ++attempt) {
    temp_ = temporaryNameBeside(target);
    // "x": fail rather than open a file that another writer just created.
    file_ = std::fopen(temp_.string().c_str(), "wbx");
    if (file_ == nullptr) {
      const int err = errno;
      temp_.clear();
      if (err == EEXIST) continue;
      return fail("cannot create " + displayPath(target) + ": " + reason(err));
    }
  }
  if (file_ == nullptr) return fail("cannot create " + displayPath(target) + ": no temporary name is free");
  std::setvbuf(file_, nullptr, _IOFBF, 1 << 20);
  return true;
}

bool SafeFileWriter::write(std::span<const uint8_t> data) {
  if (file_ == nullptr) return false;
  if (!data.empty() && std::fwrite(data.data(), 1, data.size(), file_) != data.size())
    return fail("cannot write " + displayPath(target_) + ": " + reason(errno));
  return true;
}

bool SafeFileWriter::write(std::string_view text) {
  return write(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

SafeFileWriter::CopyResult SafeFileWriter::copyFrom(std::FILE* source) {
  if (file_ == nullptr) return CopyResult::WriteFailed;
  switch (copyInKernel(source, file_)) {
    case KernelCopy::Done:
      return CopyResult::Done;
    case KernelCopy::Failed:
      fail("cannot write " + displayPath(target_) + ": " + reason(errno));
      return CopyResult::WriteFailed;
    case KernelCopy::Unsupported:
      break;
  }
  std::vector<uint8_t> buffer(1 << 20);
  for (;;) {
    const size_t n = std::fread(buffer.data(), 1, buffer.size(), source);
    if (n > 0 && !write(std::span<const uint8_t>(buffer.data(), n))) return CopyResult::WriteFailed;
    if (n < buffer.size()) break;
  }
  if (std::ferror(source)) {
    abandon();
    return CopyResult::ReadFailed;
  }
  return CopyResult::Done;
}

bool SafeFileWriter::commit() {
  if (file_ == nullptr) return false;
  const bool flushed = std::fflush(file_) == 0;
  const int err = errno;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!flushed || !closed) return fail("cannot write " + displayPath(target_) + ": " + reason(err));
  std::error_code ec;
  std::filesystem::rename(temp_, target_, ec);
  if (ec) return fail("cannot replace " + displayPath(target_) + ": " + ec.message());
  temp_.clear();
  return true;
}

void SafeFileWriter::abandon() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!temp_.empty()) {
    std::error_code ec;
    std::filesystem::remove(temp_, ec);
    temp_.clear();
  }
}

bool replaceFile(const std::filesystem::path& target, std::span<const uint8_t> data, std::string& error) {
  SafeFileWriter writer;
  if (writer.open(target) && writer.write(data) && writer.commit()) return true;
  error = writer.error();
  return false;
}

bool replaceFile(const std::filesystem::path& target, std::string_view text, std::string& error) {
  return replaceFile(target, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()),
                     error);
}

}  // namespace common
