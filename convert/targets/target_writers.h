// The target writers that the run driver calls in its writing step. Each step
// writes its files, prints its own messages, reports failures to the
// conversion and returns success.
#pragma once

#include <functional>

namespace voconv {

class Conversion;

using WriterStep = std::function<bool(Conversion&)>;

struct TargetWriters {
  // Nintendo 64 and the default target, in the driver's order.
  WriterStep nintendo64Project;  // ".proj"
  WriterStep nintendo64Pool;     // ".pool"
  WriterStep nintendo64Samples;  // ".sdir" and ".samp"
  // Game Boy (also the slave ROM): project, then data.
  WriterStep gameBoyProject;
  WriterStep gameBoyData;
  // Game Boy Advance: project, then data.
  WriterStep advanceProject;
  WriterStep advanceData;
};

// The writers built into this program.
TargetWriters builtInTargetWriters();

}  // namespace voconv
