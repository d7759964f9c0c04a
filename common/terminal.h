// Interaction with the terminal the program was started from.
#pragma once

#include "output.h"

namespace common {

bool standardInputIsTerminal();

// Prints `prompt` and, only when standard input is a terminal, waits for a
// key, so that a program run from a script or CI never hangs.
void promptAndWaitForKey(Output& out, const char* prompt);

}  // namespace common
