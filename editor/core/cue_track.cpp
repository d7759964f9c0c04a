#include "cue_track.h"

#include <algorithm>

#include "common/byte_order.h"
#include "common/file_io.h"
#include "common/output.h"
#include "common/paths.h"
#include "common/riff.h"
#include "cue_transmission.h"
#include "document.h"
#include "program_name.h"
#include "wave_file.h"

namespace vtq {
namespace {

// One command's transmission on the track: samples [start, start + used).
struct Placement {
  const CCommand* command;
  uint64_t start;
  std::vector<int16_t> samples;
  size_t used;
  uint64_t end() const { return start + used; }
};

std::string commandLabel(const CCommand& command) { return command.insertTime().text() + " " + command.commandName(); }

uint64_t samplesForFrames(int64_t frames, uint32_t rate) {
  return uint64_t(frames) * rate / uint64_t(CSMPTETime::kFramesPerSecond);
}

// Places every command that starts within the track; the others, and the
// parts cut by the length, are noted.
std::vector<Placement> placeCommands(const CQuorlinVTQEditorDoc& document, const CueTrackOptions& options,
                                     uint32_t rate, CueTrackReport& report) {
  std::vector<Placement> placements;
  const std::optional<uint64_t> limit =
      options.length ? std::optional<uint64_t>(samplesForFrames(options.length->frameCount(), rate)) : std::nullopt;
  for (const auto& command : document.commands()) {
    const int64_t frames = int64_t(command->insertTime().frameCount()) - options.start.frameCount();
    if (frames < 0) {
      report.notes.push_back(commandLabel(*command) + " starts before the track's start " + options.start.text() +
                             "; left out");
      continue;
    }
    Placement placement{command.get(), samplesForFrames(frames, rate), transmissionSamples(*command, rate), 0};
    placement.used = placement.samples.size();
    if (limit && placement.start >= *limit) {
      report.notes.push_back(commandLabel(*command) + " starts after the track's end; left out");
      continue;
    }
    if (limit && placement.end() > *limit) {
      placement.used = size_t(*limit - placement.start);
      report.notes.push_back(commandLabel(*command) +
                             common::format(" is cut by the track's end after %zu of %zu samples", placement.used,
                                            placement.samples.size()));
    }
    placements.push_back(std::move(placement));
  }
  std::stable_sort(placements.begin(), placements.end(),
                   [](const Placement& a, const Placement& b) { return a.start < b.start; });
  return placements;
}

// Notes every pair of transmissions whose samples overlap.
size_t noteOverlaps(const std::vector<Placement>& placements, CueTrackReport& report) {
  size_t overlaps = 0;
  for (size_t j = 0; j < placements.size(); ++j) {
    for (size_t i = 0; i < j; ++i) {
      if (placements[i].end() <= placements[j].start) continue;
      report.notes.push_back("the transmissions of " + commandLabel(*placements[i].command) + " and " +
                             commandLabel(*placements[j].command) + " overlap; their samples are summed with clipping");
      ++overlaps;
    }
  }
  return overlaps;
}

std::vector<uint8_t> trackHeader(uint32_t rate, uint64_t sampleCount) {
  common::ByteWriter header(common::Endian::Little);
  common::riff::writePcmHeader(header, common::riff::pcmFormat(rate, 16, 1), uint32_t(sampleCount * 2));
  return header.take();
}

// Sums the transmissions block by block, clipping each sum to 16 bits.
bool writeSamples(common::SafeFileWriter& file, const std::vector<Placement>& placements, uint64_t sampleCount) {
  constexpr uint64_t kBlock = 1 << 16;
  std::vector<int32_t> sum(kBlock);
  std::vector<uint8_t> bytes(2 * kBlock);
  for (uint64_t first = 0; first < sampleCount; first += kBlock) {
    const uint64_t last = std::min(sampleCount, first + kBlock);
    std::fill(sum.begin(), sum.end(), 0);
    for (const Placement& p : placements) {
      if (p.start >= last) break;
      if (p.end() <= first) continue;
      const uint64_t from = std::max(first, p.start), to = std::min(last, p.end());
      for (uint64_t s = from; s < to; ++s) sum[s - first] += p.samples[s - p.start];
    }
    for (uint64_t s = 0; s < last - first; ++s)
      common::storeU16(&bytes[2 * s], uint16_t(int16_t(std::clamp(sum[s], -32768, 32767))), common::Endian::Little);
    if (!file.write(std::span<const uint8_t>(bytes.data(), 2 * (last - first)))) return false;
  }
  return true;
}

}  // namespace

CueTrackReport renderCueTrack(const CQuorlinVTQEditorDoc& document, const std::filesystem::path& track,
                              const CueTrackOptions& options) {
  CueTrackReport report;
  const std::string name = common::displayPath(track);
  const int32_t rate = document.sampleRate();
  if (rate != 44100 && rate != 48000) {
    report.outcome = CueTrackOutcome::Refused;
    report.summary = common::format("cannot render %s: the document's sample rate %d Hz is not 44100 or 48000 Hz",
                                    name.c_str(), rate);
    return report;
  }
  const std::vector<Placement> placements = placeCommands(document, options, uint32_t(rate), report);
  const size_t overlaps = noteOverlaps(placements, report);
  uint64_t sampleCount = options.length ? samplesForFrames(options.length->frameCount(), uint32_t(rate)) : 0;
  for (const Placement& p : placements) sampleCount = std::max(sampleCount, p.end());
  // The RIFF length field counts the whole file but its first 8 bytes in 32 bits.
  if (common::riff::kPcmHeaderSize - 8 + 2 * sampleCount > 0xFFFFFFFFu) {
    report.outcome = CueTrackOutcome::Refused;
    report.summary = common::format("cannot render %s: %llu samples are more than a wave file holds (4 GiB)",
                                    name.c_str(), (unsigned long long)sampleCount);
    return report;
  }
  common::SafeFileWriter file(kProgramName);
  if (!file.open(track) || !file.write(trackHeader(uint32_t(rate), sampleCount)) ||
      !writeSamples(file, placements, sampleCount) || !file.commit()) {
    report.outcome = CueTrackOutcome::FileError;
    report.summary = file.error();
    return report;
  }
  report.outcome = overlaps ? CueTrackOutcome::WrittenOverlaps : CueTrackOutcome::Written;
  report.transmissions = placements.size();
  report.sampleCount = sampleCount;
  report.summary =
      common::format("%s: %zu transmissions, %llu samples (%.3f s) at %d Hz from %s", name.c_str(), placements.size(),
                     (unsigned long long)sampleCount, double(sampleCount) / rate, rate, options.start.text().c_str());
  return report;
}

}  // namespace vtq
