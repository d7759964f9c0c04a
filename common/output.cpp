#include "output.h"

#include <cstdio>
#include <vector>

namespace common {

std::string formatV(const char* fmt, va_list args) {
  va_list copy;
  va_copy(copy, args);
  char small[256];
  const int n = std::vsnprintf(small, sizeof small, fmt, copy);
  va_end(copy);
  if (n < 0) return {};
  if (size_t(n) < sizeof small) return std::string(small, size_t(n));
  std::vector<char> big(size_t(n) + 1);
  std::vsnprintf(big.data(), big.size(), fmt, args);
  return std::string(big.data(), size_t(n));
}

std::string format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  std::string s = formatV(fmt, args);
  va_end(args);
  return s;
}

void Output::print(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  const std::string s = formatV(fmt, args);
  va_end(args);
  stream_->write(s.data(), std::streamsize(s.size()));
}

void Output::write(std::string_view text) { stream_->write(text.data(), std::streamsize(text.size())); }

}  // namespace common
