#include <iostream>

#include "common/descriptor_path.h"
#include "kalp_trim.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  // With the output on standard output, messages keep out of the data.
  common::Output out(common::namesStandardOutput(args) ? std::cerr : std::cout);
  kalptrim::KalpTrimRun run{"kalptrim", out};
  const int code = kalptrim::runKalpTrim(args, run);
  out.flush();
  return code;
}
