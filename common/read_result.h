// The outcome of reading a binary or text format: the value read, or where
// reading stopped (the file, a byte offset or a line) and why.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace common {

struct ReadError {
  std::string file;                // the file as messages show it; empty when the caller adds it
  std::optional<uint64_t> offset;  // the byte at which reading stopped
  std::optional<uint64_t> line;    // the line, for text formats
  std::string message;

  // "FILE: at byte N: MESSAGE", "FILE:LINE: MESSAGE" or "FILE: MESSAGE"; the
  // parts that are not known are left out.
  std::string text() const;
};

// What a reader returns: a value, or the error that stopped it.
template <class T>
class ReadResult {
 public:
  ReadResult(T value) : state_(std::in_place_index<0>, std::move(value)) {}  // NOLINT(google-explicit-constructor)
  ReadResult(ReadError error)
      : state_(std::in_place_index<1>, std::move(error)) {}  // NOLINT(google-explicit-constructor)

  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }

  const T& value() const& { return std::get<0>(state_); }
  T& value() & { return std::get<0>(state_); }
  T&& value() && { return std::get<0>(std::move(state_)); }
  const T& operator*() const& { return value(); }
  T& operator*() & { return value(); }
  const T* operator->() const { return &value(); }
  T* operator->() { return &value(); }

  const ReadError& error() const { return std::get<1>(state_); }

 private:
  std::variant<T, ReadError> state_;
};

// The error of a read that stopped at byte `offset`.
inline ReadError errorAt(uint64_t offset, std::string message) { return ReadError{{}, offset, {}, std::move(message)}; }

}  // namespace common
