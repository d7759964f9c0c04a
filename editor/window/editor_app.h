// The window's start-up: the application object, the user settings under
// "KESH", the document (the one named on the command line, else the most
// recent one, else a new one the user names) and the main frame.
#pragma once

#include "core/launch_mode.h"

namespace vtq {

// Runs the window until it is closed and returns the exit code.
int runEditorWindow(int argc, char** argv, const WindowLaunch& launch);

}  // namespace vtq
