#include "smpte_time.h"

#include <cstdio>

namespace vtq {

std::string CSMPTETime::text() const {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d:%02d", hours(), minutes(), seconds(), frames());
  return buffer;
}

std::string CSMPTETime::digits() const {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d%02d%02d%02d", hours(), minutes(), seconds(), frames());
  return buffer;
}

CSMPTETime CSMPTETime::fromText(std::string_view text) {
  // The same reading as scanning with "%2d:%2d:%2d:%2d": leading blanks are
  // skipped, a field takes at most two digits, and scanning stops at the first
  // character that does not fit.
  uint32_t fields[4] = {0, 0, 0, 0};
  size_t pos = 0;
  for (int i = 0; i < 4; ++i) {
    if (i > 0) {
      if (pos >= text.size() || text[pos] != ':') break;
      ++pos;
    }
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    size_t digits = 0;
    uint32_t value = 0;
    while (pos < text.size() && digits < 2 && text[pos] >= '0' && text[pos] <= '9') {
      value = value * 10 + uint32_t(text[pos] - '0');
      ++pos;
      ++digits;
    }
    if (digits == 0) break;
    fields[i] = value;
  }
  return CSMPTETime(fields[0], fields[1], fields[2], fields[3]);
}

}  // namespace vtq
