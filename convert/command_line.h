// The converter's command line: usage text and options.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "convert/targets/target_table.h"

namespace voconv {

class Conversion;

void printUsage(Conversion& conversion);

// Reads the options at the front of `args` into the conversion's settings and
// base paths, printing a line for each. Returns the index of the first
// argument that is not an option, or, when the run must end here, sets
// `exitCode` and returns nothing. Once read, the settings' target is the one
// the run writes.
std::optional<size_t> readOptions(const std::vector<std::string>& args, Conversion& conversion, int& exitCode,
                                  const TargetTable& targets = builtInTargets());

}  // namespace voconv
