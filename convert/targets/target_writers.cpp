#include "target_writers.h"

#include "convert/targets/handheld/handheld_writers.h"
#include "convert/targets/n64_writer.h"

namespace voconv {

TargetWriters builtInTargetWriters() {
  TargetWriters writers;
  addN64Writer(writers);
  addHandheldWriters(writers);
  return writers;
}

}  // namespace voconv
