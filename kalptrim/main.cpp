#include <iostream>

#include "kalp_trim.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  common::Output out(std::cout);
  const int code = kalptrim::runKalpTrim(args, out);
  out.flush();
  return code;
}
