#include "convert/samples/sample_batch.h"

#include <algorithm>
#include <atomic>
#include <sstream>
#include <thread>

#include "common/output.h"

namespace convert {
namespace {

N64SampleOutcome convertOne(const N64SampleJob& job, const N64SampleOptions& options,
                            const SampleReaderProfile& profile) {
  N64SampleOutcome outcome;
  std::ostringstream text;
  common::Output out(text);
  SampleReader reader(profile);
  outcome.ok = convertSampleFileForN64(job.file, reader, job.type, options, outcome.sample, out);
  outcome.messages = text.str();
  return outcome;
}

}  // namespace

std::vector<N64SampleOutcome> convertSamplesForN64(std::span<const N64SampleJob> jobs, const N64SampleOptions& options,
                                                   const SampleReaderProfile& profile, unsigned threads) {
  std::vector<N64SampleOutcome> outcomes(jobs.size());
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
  threads = unsigned(std::min<size_t>(threads, jobs.size()));
  std::atomic<size_t> next{0};
  const auto work = [&] {
    for (size_t i = next++; i < jobs.size(); i = next++) outcomes[i] = convertOne(jobs[i], options, profile);
  };
  if (threads <= 1) {
    work();
    return outcomes;
  }
  {
    std::vector<std::jthread> pool;
    for (unsigned t = 0; t < threads; ++t) pool.emplace_back(work);
  }  // the threads join here, before the results are handed back
  return outcomes;
}

}  // namespace convert
