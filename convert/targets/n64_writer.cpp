#include "convert/targets/n64_writer.h"

namespace voconv {

void addN64Writer(TargetWriters& writers) {
  auto refs = std::make_shared<ReferenceLists>();
  writers.nintendo64Project = [refs](Conversion& c) { return writeN64Project(c, *refs); };
  writers.nintendo64Pool = [refs](Conversion& c) { return writeN64Pool(c, *refs); };
  writers.nintendo64Samples = [refs](Conversion& c) { return writeN64Samples(c, *refs); };
}

}  // namespace voconv
