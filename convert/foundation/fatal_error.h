// An error that ends the whole conversion at once ("*** Fatal: ..."). The run
// driver catches it, prints its message and ends with its exit code.
#pragma once

#include <stdexcept>
#include <string>

namespace voconv {

class FatalError : public std::runtime_error {
 public:
  FatalError(const std::string& message, int exitCode) : std::runtime_error(message), exitCode_(exitCode) {}
  int exitCode() const { return exitCode_; }

 private:
  int exitCode_;
};

}  // namespace voconv
