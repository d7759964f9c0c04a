// Command lines for the argument fuzzers: the input's bytes are the
// arguments, separated by NUL bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzzing {

inline std::vector<std::string> splitArguments(const uint8_t* data, size_t size) {
  std::vector<std::string> args(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      args.emplace_back();
    } else {
      args.back() += char(data[i]);
    }
  }
  return args;
}

}  // namespace fuzzing
