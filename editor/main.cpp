// vtqedit: the cue editor. With batch options it works on documents from the
// command line; the window comes with the editor's user interface.
#include <iostream>

#include "core/batch_mode.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  common::Output out(std::cout);
  common::Output err(std::cerr);
  vtq::BatchRun run{out, err};
  const int code = vtq::runBatchMode(args, run);
  out.flush();
  err.flush();
  return code;
}
