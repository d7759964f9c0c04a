// The console output of one program run.
//
// Programs print every message through one Output, which wraps standard
// output in main and a string stream in tests.
#pragma once

#include <cstdarg>
#include <ostream>
#include <string>
#include <string_view>

namespace common {

#if defined(__GNUC__) || defined(__clang__)
#define COMMON_PRINTF_FORMAT(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define COMMON_PRINTF_FORMAT(fmt, args)
#endif

// printf-style formatting into a std::string.
std::string format(const char* fmt, ...) COMMON_PRINTF_FORMAT(1, 2);
std::string formatV(const char* fmt, va_list args);

class Output {
 public:
  explicit Output(std::ostream& stream) : stream_(&stream) {}

  void print(const char* fmt, ...) COMMON_PRINTF_FORMAT(2, 3);
  void write(std::string_view text);
  void flush() { stream_->flush(); }
  std::ostream& stream() { return *stream_; }

 private:
  std::ostream* stream_;
};

}  // namespace common
