#include "csv_table.h"

namespace vtq {
namespace {

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

// Moves past one line end (CRLF, LF or a lone CR) at `at`.
size_t skipLineEnd(std::string_view text, size_t at) {
  if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') return at + 2;
  return at + 1;
}

// Reads the quoted field starting at `at` (on its opening quote) into `field`;
// returns the position after the closing quote, or npos when none closes it.
size_t readQuoted(std::string_view text, size_t at, std::string& field, size_t& line) {
  for (size_t i = at + 1; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      if (i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
        continue;
      }
      return i + 1;
    }
    if (c == '\n' || (c == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) ++line;
    field += c;
  }
  return std::string_view::npos;
}

}  // namespace

bool splitRecords(std::string_view text, char separator, std::vector<TextRecord>& records, TextSplitError& error) {
  records.clear();
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  size_t line = 1;
  size_t at = 0;
  while (at < text.size()) {
    if (isLineEnd(text[at])) {  // an empty line
      at = skipLineEnd(text, at);
      ++line;
      continue;
    }
    TextRecord record{line, {}};
    for (;;) {
      std::string field;
      if (at < text.size() && text[at] == '"') {
        at = readQuoted(text, at, field, line);
        if (at == std::string_view::npos) {
          error = {record.line, "a quoted field is not closed"};
          return false;
        }
        if (at < text.size() && text[at] != separator && !isLineEnd(text[at])) {
          error = {line, "text follows the closing quote of a field"};
          return false;
        }
      } else {
        while (at < text.size() && text[at] != separator && !isLineEnd(text[at])) {
          if (text[at] == '"') {
            error = {line, "a quote inside a field that does not start with one"};
            return false;
          }
          field += text[at++];
        }
      }
      record.fields.push_back(std::move(field));
      if (at < text.size() && text[at] == separator) {
        ++at;
        continue;
      }
      break;
    }
    records.push_back(std::move(record));
    if (at < text.size()) {
      at = skipLineEnd(text, at);
      ++line;
    }
  }
  return true;
}

std::string quoteField(std::string_view field, char separator) {
  if (field.find_first_of(std::string{separator, '"', '\r', '\n'}) == std::string_view::npos) return std::string(field);
  std::string quoted = "\"";
  for (const char c : field) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

}  // namespace vtq
