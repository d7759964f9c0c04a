// How the dialog's time code fields react to keys, kept apart from any
// widget: the field always shows "hh:mm:ss:ff" and typing never changes that
// shape.
#pragma once

#include <optional>
#include <string>

#include "smpte_time.h"

namespace vtq {

struct TimeCodeFieldState {
  CSMPTETime value;
  size_t caret = 0;  // caret position in the text
};

// Up (+1) or Down (-1): one unit of the field holding the caret (positions 0
// to 2 hours, 3 to 5 minutes, 6 to 8 seconds, 9 and later frames), wrapping at
// 24 hours. The caret stays where it was.
TimeCodeFieldState stepTimeCodeField(TimeCodeFieldState state, int direction);

// A typed character. Anything but a digit, or a digit with the caret beyond
// position 10, is ignored (nullopt). Otherwise the digit replaces the
// character at the caret (the one after it when the caret stands before a
// colon), the text is read back with each field wrapping by its own modulus,
// and the caret moves after the digit.
std::optional<TimeCodeFieldState> typeIntoTimeCodeField(const TimeCodeFieldState& state, char typed);

}  // namespace vtq
