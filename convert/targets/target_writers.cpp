#include "target_writers.h"

#include "convert/targets/n64_writer.h"

namespace voconv {

TargetWriters builtInTargetWriters() {
  // The target writers join here as they are built.
  TargetWriters writers;
  addN64Writer(writers);
  return writers;
}

}  // namespace voconv
