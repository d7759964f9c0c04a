#include "time_code_editing.h"

namespace vtq {

TimeCodeFieldState stepTimeCodeField(TimeCodeFieldState state, int direction) {
  const uint32_t unit = state.caret <= 2   ? CSMPTETime::kFramesPerHour
                        : state.caret <= 5 ? CSMPTETime::kFramesPerMinute
                        : state.caret <= 8 ? CSMPTETime::kFramesPerSecond
                                           : 1;
  state.value = direction >= 0 ? state.value + CSMPTETime(unit) : state.value - CSMPTETime(unit);
  return state;
}

std::optional<TimeCodeFieldState> typeIntoTimeCodeField(const TimeCodeFieldState& state, char typed) {
  if (typed < '0' || typed > '9' || state.caret > 10) return std::nullopt;
  std::string text = state.value.text();
  size_t at = state.caret;
  if (text[at] == ':') ++at;
  text[at] = typed;
  return TimeCodeFieldState{CSMPTETime::fromText(text), at + 1};
}

}  // namespace vtq
