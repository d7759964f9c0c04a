#include "common/read_result.h"

namespace common {

std::string ReadError::text() const {
  std::string out = file;
  if (line) out.append(":").append(std::to_string(*line));
  if (!out.empty()) out.append(": ");
  if (offset) out.append("at byte ").append(std::to_string(*offset)).append(": ");
  return out.append(message);
}

}  // namespace common
