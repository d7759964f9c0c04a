#include "launch_mode.h"

namespace vtq {
namespace {

bool isOption(const std::string& arg) { return !arg.empty() && arg[0] == '-'; }

}  // namespace

std::optional<WindowLaunch> windowLaunchFor(const std::vector<std::string>& args) {
  if (args.empty()) return WindowLaunch{};
  if (args.size() == 1 && !args[0].empty() && !isOption(args[0])) return WindowLaunch{args[0], std::nullopt};
  // A document with its film sound, in either order.
  if (args.size() == 3 && (args[0] == "--sound" || args[1] == "--sound")) {
    const std::string& document = args[0] == "--sound" ? args[2] : args[0];
    const std::string& sound = args[0] == "--sound" ? args[1] : args[2];
    if (!document.empty() && !isOption(document) && !sound.empty()) return WindowLaunch{document, sound};
  }
  return std::nullopt;
}

}  // namespace vtq
