// Loads samples into the target object list for the handheld targets: a
// 16-byte header and the samples as signed 16-bit values, cut after the
// loop end.
#pragma once

#include <cstdint>

#include "convert/samples/sample_reader.h"

namespace voconv {

class Conversion;

class HandheldSampleLoader {
 public:
  explicit HandheldSampleLoader(Conversion& c);

  // Loads sample `id` of the project; prints the verbose lines and any
  // failure. Release 1.15 takes only 16-bit mono samples and says nothing
  // when a sample file cannot be read.
  bool load(uint16_t id);

 private:
  Conversion& c_;
  bool release115_;
  convert::SampleReader reader_;
};

}  // namespace voconv
