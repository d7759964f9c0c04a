// Interaction with the terminal the program was started from.
#pragma once

#include "output.h"

namespace common {

bool standardInputIsTerminal();

// Prints `prompt` and, only when standard input is a terminal and this
// process is in its foreground, waits for one key: no Enter needed, nothing
// echoed, Ctrl-C and Ctrl-Z still work. What else was typed is discarded (an
// arrow key leaves nothing for the shell), and the terminal's settings come
// back also when a signal ends or stops the wait. A program run from a script
// or CI never waits.
void promptAndWaitForKey(Output& out, const char* prompt);

}  // namespace common
