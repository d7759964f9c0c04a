#include "cue_check.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "common/output.h"
#include "common/paths.h"
#include "document.h"
#include "pcm_wave_reader.h"
#include "pulse_filter.h"

namespace vtq {

std::vector<FoundTransmission> findTransmissions(PcmWaveReader& reader, std::optional<uint16_t> channel,
                                                 MixTiming& timing) {
  TransmissionFinder finder(timing.documentRate, timing.mixRate);
  std::vector<float> samples(1 << 16);
  while (const size_t frames = reader.readMono(samples, channel))
    finder.push(std::span<const float>(samples.data(), frames));
  finder.finish();
  timing.sampleCount = reader.framesRead();
  return finder.found();
}

CueCheckReport checkSoundTrack(const CQuorlinVTQEditorDoc& document, const std::filesystem::path& mix,
                               const CueCheckOptions& options) {
  CueCheckReport failed;
  failed.outcome = CueCheckOutcome::FileError;
  const std::string name = common::displayPath(mix);
  if (document.sampleRate() != 44100 && document.sampleRate() != 48000) {
    failed.error = common::format("cannot check %s: the document's sample rate %d Hz is not 44100 or 48000 Hz",
                                  name.c_str(), document.sampleRate());
    return failed;
  }
  std::ifstream in(mix, std::ios::binary);
  if (!in) {
    failed.error = common::format("cannot open %s: %s", name.c_str(), std::strerror(errno));
    return failed;
  }
  PcmWaveReader reader(in, name);
  if (!reader.readHeader()) {
    failed.error = reader.error();
    return failed;
  }
  if (options.channel && (*options.channel == 0 || *options.channel > reader.format().channels)) {
    failed.outcome = CueCheckOutcome::UsageError;
    failed.error = common::format("--channel %u: %s has %u channels", unsigned(*options.channel), name.c_str(),
                                  unsigned(reader.format().channels));
    return failed;
  }
  MixTiming timing{uint32_t(document.sampleRate()), reader.format().sampleRate, options.start, 0};
  const std::optional<uint16_t> channel =
      options.channel ? std::optional<uint16_t>(uint16_t(*options.channel - 1)) : std::nullopt;
  const std::vector<FoundTransmission> found = findTransmissions(reader, channel, timing);
  CueCheckReport report = buildCheckReport(document, found, timing, options.settings);
  if (reader.truncated())
    report.notes.insert(report.notes.begin(),
                        name + " ends before the size its data chunk states; checked what is there");
  return report;
}

}  // namespace vtq
