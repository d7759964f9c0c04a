#include "terminal.h"

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#define COMMON_ISATTY _isatty
#else
#include <unistd.h>
#define COMMON_ISATTY isatty
#endif

namespace common {

bool standardInputIsTerminal() { return COMMON_ISATTY(0) != 0; }

void promptAndWaitForKey(Output& out, const char* prompt) {
  out.write(prompt);
  out.flush();
  if (standardInputIsTerminal()) (void)std::getchar();
}

}  // namespace common
