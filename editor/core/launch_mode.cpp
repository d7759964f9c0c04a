#include "launch_mode.h"

namespace vtq {

std::optional<WindowLaunch> windowLaunchFor(const std::vector<std::string>& args) {
  if (args.empty()) return WindowLaunch{};
  if (args.size() == 1 && !args[0].empty() && args[0][0] != '-') return WindowLaunch{args[0]};
  return std::nullopt;
}

}  // namespace vtq
