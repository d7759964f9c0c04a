#include "target_writers.h"

namespace voconv {

TargetWriters builtInTargetWriters() {
  // The target writers join here as they are built.
  return TargetWriters{};
}

}  // namespace voconv
