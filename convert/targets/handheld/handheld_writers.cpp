#include "convert/targets/handheld/handheld_writers.h"

#include "convert/conversion.h"

namespace voconv {

void HandheldWriter::write(Conversion& c) {
  if (stepDone(c, writeProject(c)) && stepDone(c, writeData(c))) c.out.print("Done.\n");
}

}  // namespace voconv
