// voconv: merges exported sound projects and writes a console's sound data
// with its include file. Built twice: as the current release and, with
// VOCONV_RELEASE set to release115, as release 1.15.
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <string>
#include <vector>

#include "common/descriptor_path.h"
#include "convert/conversion.h"
#include "convert/release_profile.h"
#include "convert/run_driver.h"
#include "convert/targets/target_table.h"

#ifndef VOCONV_RELEASE
#define VOCONV_RELEASE currentRelease
#endif

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  // With an output on standard output, messages keep out of the data.
  common::Output out(common::namesStandardOutput(args) ? std::cerr : std::cout);
  voconv::Conversion conversion(out, voconv::VOCONV_RELEASE());
  conversion.program = "voconv";
  conversion.toolFolder = voconv::ownExecutableFolder();
  const int code = voconv::runConversion(args, conversion, voconv::builtInTargets(),
                                         voconv::runDate(std::getenv("SOURCE_DATE_EPOCH"), std::time(nullptr)));
  out.flush();
  return code;
}
