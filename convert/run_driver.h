// The converter's run driver: command line, project description, export
// scripts, include file header, the target's writer, exit code.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "convert/include_file.h"
#include "convert/targets/target_writers.h"

namespace voconv {

class Conversion;

// Runs one conversion with the arguments that follow the program name and
// returns the exit code (see exit_codes.h). `now` is the time put into the
// include file header.
int runConversion(const std::vector<std::string>& args, Conversion& conversion, const TargetWriters& writers,
                  const RunDate& now);

// The target's writer alone, as the run calls it once the include file's
// header is written.
void writeTargetData(Conversion& conversion, const TargetWriters& writers);

}  // namespace voconv
