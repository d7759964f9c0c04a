// Splitting delimited text into records and quoting fields (RFC 4180): a
// field holding the separator, a quote or a line break is quoted, and a quote
// inside a quoted field is doubled. Lines end with CRLF or LF.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vtq {

struct TextRecord {
  size_t line = 0;  // the line the record starts on, counted from 1
  std::vector<std::string> fields;
};

struct TextSplitError {
  size_t line = 0;
  std::string reason;
};

// Splits `text` into records; empty lines are skipped and a UTF-8 byte order
// mark at the start is dropped. Fails on a quote that is not closed or text
// between a closing quote and the next separator.
bool splitRecords(std::string_view text, char separator, std::vector<TextRecord>& records, TextSplitError& error);

// The field as written into a record (quoted when it must be).
std::string quoteField(std::string_view field, char separator);

}  // namespace vtq
