// macrolift: converts the sound project in the current folder from the Game
// Boy to the Game Boy Advance command set. Arguments are ignored.
#include <filesystem>
#include <iostream>

#include "macro_lift.h"

int main() {
  common::Output out(std::cout);
  std::error_code ec;
  const std::filesystem::path root = std::filesystem::current_path(ec);
  int code = macrolift::kFailed;
  if (ec) {
    out.print("*** ERROR: Cannot find the current directory: %s\n", ec.message().c_str());
  } else {
    code = macrolift::runMacroLift(root, out, macrolift::KeyWait::OnTerminal);
  }
  out.flush();
  return code;
}
