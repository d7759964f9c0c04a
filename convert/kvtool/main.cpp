// kvtool: our stand-in for the outside arrangement tool that voconv starts
// for ".arr" files.
#include <iostream>
#include <string>
#include <vector>

#include "kvtool_run.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  common::Output out(std::cout);
  common::Output err(std::cerr);
  const int code = kvtool::runKvtool(args, out, err);
  out.flush();
  err.flush();
  return code;
}
