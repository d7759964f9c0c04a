#include "line_reader.h"

namespace voconv {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

}  // namespace

bool LineReader::next(std::string& line) {
  while (pos_ < text_.size()) {
    size_t end = text_.find('\n', pos_);
    if (end == std::string::npos) end = text_.size();
    std::string_view raw(text_.data() + pos_, end - pos_);
    pos_ = end + 1;
    ++lineNumber_;
    const size_t comment = raw.find(';');
    if (comment != std::string_view::npos) raw = raw.substr(0, comment);
    size_t first = 0;
    while (first < raw.size() && isBlank(raw[first])) ++first;
    size_t last = raw.size();
    while (last > first && isBlank(raw[last - 1])) --last;
    if (last == first) continue;
    line.assign(raw.substr(first, last - first));
    for (char& c : line) {
      if (c == '\t') c = ' ';
    }
    return true;
  }
  return false;
}

std::string_view FieldReader::text() {
  while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
  const size_t start = pos_;
  while (pos_ < text_.size() && text_[pos_] != ',' && text_[pos_] != ' ') ++pos_;
  const std::string_view field = text_.substr(start, pos_ - start);
  if (pos_ < text_.size()) ++pos_;  // one separator
  return field;
}

uint32_t FieldReader::number() { return leadingNumber(text()); }

uint32_t leadingNumber(std::string_view text) {
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10 + uint64_t(c - '0');
    if (value > 0xFFFFFFFFu) value = 0xFFFFFFFFu;
  }
  return uint32_t(value);
}

}  // namespace voconv
