#include "temporary_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <random>

namespace common {
namespace {

namespace fs = std::filesystem;

// Longest file name most file systems take.
constexpr size_t kNameMax = 255;
constexpr size_t kRandomLength = 6;
constexpr int kAttempts = 100;

std::string randomPart() {
  static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937_64 generator{std::random_device{}() ^ (uint64_t(::getpid()) << 32)};
  std::uniform_int_distribution<size_t> pick(0, sizeof kAlphabet - 2);
  std::string part(kRandomLength, ' ');
  for (char& c : part) c = kAlphabet[pick(generator)];
  return part;
}

}  // namespace

std::string temporaryFileName(const fs::path& forName, std::string_view program, std::string_view suffix) {
  std::string base = forName.filename().string();
  const size_t fixed = 2 + program.size() + 1 + suffix.size();  // two dots, a dash
  if (fixed + base.size() > kNameMax) {
    base.resize(fixed < kNameMax ? kNameMax - fixed : 0);
    // Do not leave half a UTF-8 character at the end.
    while (!base.empty() && (static_cast<unsigned char>(base.back()) & 0xC0) == 0x80) base.pop_back();
    if (!base.empty() && (static_cast<unsigned char>(base.back()) & 0x80) != 0) base.pop_back();
  }
  std::string name = ".";
  name += base;
  name += '.';
  name += program;
  name += '-';
  name += suffix;
  return name;
}

TemporaryFile& TemporaryFile::operator=(TemporaryFile&& other) noexcept {
  if (this != &other) {
    remove();
    path_ = std::move(other.path_);
    entry_ = std::move(other.entry_);
    other.path_.clear();
  }
  return *this;
}

int TemporaryFile::create(const fs::path& folder, const fs::path& forName, std::string_view program, mode_t permissions,
                          int& err) {
  remove();
  err = EEXIST;
  for (int attempt = 0; attempt < kAttempts && err == EEXIST; ++attempt) {
    fs::path candidate = folder / temporaryFileName(forName, program, randomPart());
    // Registered before it exists, under a hold, so that a signal never finds
    // the file there and unknown to the registry.
    SignalHold hold;
    TemporaryRegistration entry(candidate);
    const int fd = ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, permissions);
    if (fd >= 0) {
      path_ = std::move(candidate);
      entry_ = std::move(entry);
      return fd;
    }
    err = errno;
  }
  return -1;
}

void TemporaryFile::renamed() noexcept {
  entry_.release();
  path_.clear();
}

void TemporaryFile::remove() noexcept {
  if (path_.empty()) return;
  ::unlink(path_.c_str());
  renamed();
}

}  // namespace common
