// vtqedit: the cue editor. No argument, or a document to open, starts the
// window; batch options work on documents from the command line, without a
// display.
#include <iostream>

#include "common/descriptor_path.h"
#include "core/batch_mode.h"
#include "core/launch_mode.h"
#if VTQEDIT_WINDOW
#include "window/editor_app.h"
#endif

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
#if VTQEDIT_WINDOW
  if (const auto launch = vtq::windowLaunchFor(args)) return vtq::runEditorWindow(argc, argv, *launch);
#endif
  // With a track rendered to standard output, messages keep out of the data.
  common::Output out(common::namesStandardOutput(args) ? std::cerr : std::cout);
  common::Output err(std::cerr);
  vtq::BatchRun run{out, err};
  const int code = vtq::runBatchMode(args, run);
  out.flush();
  err.flush();
  return code;
}
