// The Nintendo 64 writer, which also serves the default target: the project
// file (".proj"), the pool file (".pool") and the sample pair (".sdir",
// ".samp"). The three steps share the reference lists that the project step
// fills.
#pragma once

#include <memory>

#include "convert/targets/n64_reference_lists.h"
#include "convert/targets/target_writers.h"

namespace voconv {

class Conversion;

bool writeN64Project(Conversion& c, ReferenceLists& refs);
bool writeN64Pool(Conversion& c, const ReferenceLists& refs);
bool writeN64Samples(Conversion& c, const ReferenceLists& refs);

// Puts the three steps into `writers`, sharing one set of reference lists.
void addN64Writer(TargetWriters& writers);

}  // namespace voconv
