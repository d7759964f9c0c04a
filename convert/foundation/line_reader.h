// Line reader and field splitter of the converter's text inputs (project
// description, export scripts, macro definition file).
//
// A ';' starts a comment that runs to the end of the line, a tab counts as a
// blank, leading and trailing blanks are removed and lines left empty are
// skipped. Lines may be of any length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace voconv {

class LineReader {
 public:
  explicit LineReader(std::string text) : text_(std::move(text)) {}

  // Sets `line` to the next line with content; false at the end of the text.
  bool next(std::string& line);
  // The number (from 1) of the line last returned.
  int lineNumber() const { return lineNumber_; }

 private:
  std::string text_;
  size_t pos_ = 0;
  int lineNumber_ = 0;
};

// Splits a line into fields. A field starts after any blanks and runs to the
// next comma, blank or end of the line; one separator after it is skipped.
class FieldReader {
 public:
  explicit FieldReader(std::string_view text) : text_(text) {}

  std::string_view text();
  // A field read as a decimal number: a field that does not start with a
  // digit counts as 0; digits stop at the first other character. Values
  // beyond 32 bits saturate.
  uint32_t number();
  bool atEnd() const { return pos_ >= text_.size(); }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

// The decimal number at the start of `text` (0 when it starts otherwise).
uint32_t leadingNumber(std::string_view text);

}  // namespace voconv
