// Converts many Nintendo 64 samples on several threads. Each sample is read
// and coded on its own, so the results (bytes and messages) are the same as
// those of a run on one thread and come back in the order of the jobs.
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "convert/samples/n64_sample_converter.h"
#include "convert/samples/sample_reader.h"

namespace convert {

struct N64SampleJob {
  std::filesystem::path file;
  int type = kSampleTypeAdaptive;
};

struct N64SampleOutcome {
  bool ok = false;
  N64ConvertedSample sample;
  std::string messages;  // what the conversion printed, to be shown in job order
};

// threads = 0 uses every core the machine has.
std::vector<N64SampleOutcome> convertSamplesForN64(std::span<const N64SampleJob> jobs, const N64SampleOptions& options,
                                                   const SampleReaderProfile& profile, unsigned threads = 0);

}  // namespace convert
