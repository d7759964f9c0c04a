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
};

// No argument, or a single argument that is not an option (a document to
// open), means the window; anything else is for the batch mode.
std::optional<WindowLaunch> windowLaunchFor(const std::vector<std::string>& args);

}  // namespace vtq
