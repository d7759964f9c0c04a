// Whether vtqedit opens its window or runs its batch mode, decided from the
// arguments alone before anything of the window exists, so that the batch
// mode runs without a display.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vtq {

struct WindowLaunch {
  std::optional<std::string> document;  // the document named on the command line
  std::optional<std::string> sound;     // the film sound to open with it (--sound)
};

// No argument, a single argument that is not an option (a document to open),
// or a document with "--sound TRACK.wav" means the window; anything else is
// for the batch mode.
std::optional<WindowLaunch> windowLaunchFor(const std::vector<std::string>& args);

}  // namespace vtq
