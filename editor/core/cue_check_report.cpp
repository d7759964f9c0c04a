#include "cue_check_report.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "common/output.h"
#include "cue_transmission.h"
#include "document.h"
#include "pulse_filter.h"
#include "track_speed.h"

namespace vtq {
namespace {

constexpr double kWindowSeconds = 2.0;

// A command's transmission as it should appear in the mix.
struct Expected {
  const CCommand* command;
  size_t index;
  std::vector<uint8_t> words;
  double seconds;  // the command's time after the mix's start, on the document's clock
  int repeats;
};

std::vector<uint8_t> expectedWords(const CCommand& command) {
  CommandBytes bytes;
  const int count = command.dataBytes(bytes);
  std::vector<uint8_t> words;
  words.reserve(size_t(count) + 2);
  words.push_back(uint8_t(0x10 | (command.isTimed() ? 0x80 : 0)));
  for (int i = 0; i < count; ++i) words.push_back(bytes[size_t(i)]);
  if (command.isTimed()) words.push_back(command.durationByte());
  return words;
}

struct Match {
  size_t command;
  double start;     // the command's first copy, in mix samples
  double distance;  // from where the command should be
};

std::optional<Match> matchFor(const Expected& e, const FoundTransmission& t, const TrackGeometry& g, double window) {
  const double expected = g.sampleOf(e.seconds);
  const double start = g.firstCopyStart(t, g.formatOf(t), expected, e.repeats);
  const double distance = std::abs(start - expected);
  if (distance > window) return std::nullopt;
  return Match{e.index, start, distance};
}

std::vector<Expected> expectations(const CQuorlinVTQEditorDoc& document, const MixTiming& timing,
                                   CueCheckReport& report) {
  std::vector<Expected> expected;
  const double mixSeconds = double(timing.sampleCount) / timing.mixRate;
  size_t c = 0;
  for (const auto& pointer : document.commands()) {
    const CCommand& command = *pointer;
    Expected e{&command, c++, expectedWords(command), 0, command.retransmissions()};
    e.seconds = double(command.insertTime().frameCount() - timing.start.frameCount()) / 25;
    const std::string label = command.insertTime().text() + " " + command.commandName();
    if (e.seconds < 0) report.notes.push_back(label + " lies before the mix's start " + timing.start.text());
    if (e.seconds / report.speed >= mixSeconds) report.notes.push_back(label + " lies after the mix's end");
    expected.push_back(std::move(e));
  }
  return expected;
}

// The command an intact transmission belongs to: the matching command it puts nearest.
std::optional<Match> ownerOf(const FoundTransmission& t, const std::vector<Expected>& expected, const TrackGeometry& g,
                             double window) {
  std::optional<Match> owner;
  for (const Expected& e : expected) {
    if (e.words != t.packet.words) continue;
    const auto m = matchFor(e, t, g, window);
    if (m && (!owner || m->distance < owner->distance)) owner = m;
  }
  return owner;
}

// The damaged transmission in reach of a command that was not found, nearest first.
const FoundTransmission* nearestDamaged(const Expected& e, const std::vector<FoundTransmission>& found,
                                        const TrackGeometry& g, double window, double& start) {
  const FoundTransmission* nearest = nullptr;
  double distance = 0;
  for (const FoundTransmission& t : found) {
    if (t.packet.check == PacketCheck::Intact) continue;
    const auto m = matchFor(e, t, g, window);
    if (m && (!nearest || m->distance < distance)) {
      nearest = &t;
      distance = m->distance;
      start = m->start;
    }
  }
  return nearest;
}

// A position in the mix as a time code on the document's clock.
CSMPTETime timeCodeAt(const MixTiming& timing, const TrackGeometry& g, double sample) {
  const long long frames = timing.start.frameCount() + std::llround(g.secondsOf(sample) * 25);
  const long long day = CSMPTETime::kFramesPerDay;
  return CSMPTETime(uint32_t(((frames % day) + day) % day));
}

void placeAt(CueRecord& record, const MixTiming& timing, const TrackGeometry& g, double sample) {
  record.foundSample = uint64_t(std::max(0.0, std::round(sample)));
  record.foundTime = timeCodeAt(timing, g, sample);
}

CueRecord commandRecord(const Expected& e, const std::vector<FoundTransmission>& found,
                        const std::vector<std::optional<Match>>& owners, const MixTiming& timing,
                        const TrackGeometry& g, double window) {
  CueRecord record;
  record.commandIndex = e.index;
  record.commandSerial = e.command->serial();
  record.insertTime = e.command->insertTime();
  record.byteCode = e.command->makeByteCodeText();
  record.copiesSent = e.repeats + 1;
  std::optional<Match> best;
  for (size_t i = 0; i < found.size(); ++i) {
    if (!owners[i] || owners[i]->command != e.index) continue;
    ++record.copiesFound;
    record.marginDb = std::max(record.marginDb.value_or(0), found[i].marginDb);
    if (!best || owners[i]->distance < best->distance) {
      best = owners[i];
      record.formatRate = g.formatOf(found[i]);
    }
  }
  if (best) {
    record.state = CueState::Found;
    placeAt(record, timing, g, best->start);
    record.offsetFrames = int32_t(std::llround((g.secondsOf(best->start) - e.seconds) * 25));
    return record;
  }
  record.marginDb.reset();
  double start = 0;
  if (const FoundTransmission* damaged = nearestDamaged(e, found, g, window, start)) {
    record.state = CueState::Damaged;
    record.failedCheck = packetCheckName(damaged->packet.check);
    record.formatRate = g.formatOf(*damaged);
    placeAt(record, timing, g, start);
  }
  return record;
}

// Copies of one unexplained packet at the retransmission spacing are one transmission.
void addUnexpected(const std::vector<const FoundTransmission*>& unexplained, const MixTiming& timing,
                   const TrackGeometry& g, CueCheckReport& report) {
  const FoundTransmission* previous = nullptr;
  for (const FoundTransmission* t : unexplained) {
    const uint32_t format = g.formatOf(*t);
    const bool repeat =
        previous && previous->packet.words == t->packet.words &&
        std::abs(t->start - previous->start - g.spacing(format, t->packet.words.size())) <= g.bit(format);
    previous = t;
    if (repeat) {
      ++report.records.back().copiesFound;
      continue;
    }
    CueRecord record;
    record.state = CueState::Unexpected;
    record.byteCode = packetByteCode(t->packet.words);
    record.formatRate = format;
    record.copiesFound = 1;
    placeAt(record, timing, g, t->start - g.lead(format));
    record.insertTime = record.foundTime;
    report.records.push_back(std::move(record));
  }
}

}  // namespace

const char* cueStateName(CueState state) {
  switch (state) {
    case CueState::Found: return "found";
    case CueState::Damaged: return "damaged";
    case CueState::Missing: return "missing";
    case CueState::Unexpected: return "unexpected";
  }
  return "";
}

CueCheckReport buildCheckReport(const CQuorlinVTQEditorDoc& document, const std::vector<FoundTransmission>& found,
                                const MixTiming& timing, const CueCheckSettings& settings) {
  CueCheckReport report;
  report.documentRate = timing.documentRate;
  report.marginChecked = settings.minMarginDb.has_value();
  std::vector<SpeedSample> samples;
  for (const auto& command : document.commands()) {
    samples.push_back({expectedWords(*command),
                       double(command->insertTime().frameCount() - timing.start.frameCount()) / 25,
                       command->retransmissions()});
  }
  report.speed = settings.speed ? *settings.speed : fitTrackSpeed(samples, found, timing);
  const TrackGeometry g(timing, report.speed);
  const double window = g.sampleOf(kWindowSeconds);
  const std::vector<Expected> expected = expectations(document, timing, report);

  std::vector<std::optional<Match>> owners(found.size());
  std::vector<const FoundTransmission*> unexplained;
  for (size_t i = 0; i < found.size(); ++i) {
    if (found[i].packet.check != PacketCheck::Intact) continue;
    owners[i] = ownerOf(found[i], expected, g, window);
    if (!owners[i]) unexplained.push_back(&found[i]);
  }
  bool passed = unexplained.empty();
  for (const Expected& e : expected) {
    CueRecord record = commandRecord(e, found, owners, timing, g, window);
    passed = passed && record.state == CueState::Found && std::abs(record.offsetFrames) <= 1;
    if (record.state == CueState::Found && settings.minMarginDb && *record.marginDb < *settings.minMarginDb) {
      record.atRisk = true;
      ++report.atRiskCount;
    }
    report.records.push_back(std::move(record));
  }
  addUnexpected(unexplained, timing, g, report);
  report.outcome = passed ? CueCheckOutcome::Passed : CueCheckOutcome::Failed;
  report.lines = checkReportLines(report);
  return report;
}

std::vector<std::string> checkReportLines(const CueCheckReport& report) {
  std::vector<std::string> lines;
  size_t commands = 0, onTime = 0, offTime = 0, damaged = 0, missing = 0, unexpected = 0;
  for (const CueRecord& r : report.records) {
    std::string line = r.insertTime.text() + " " + r.byteCode + " ";
    switch (r.state) {
      case CueState::Found:
        line += common::format("found %s %+d margin %d dB", r.foundTime.text().c_str(), r.offsetFrames,
                               r.marginDb.value_or(0));
        ++(std::abs(r.offsetFrames) <= 1 ? onTime : offTime);
        break;
      case CueState::Damaged:
        line += "damaged " + r.failedCheck;
        ++damaged;
        break;
      case CueState::Missing:
        line += "missing";
        ++missing;
        break;
      case CueState::Unexpected:
        line += "unexpected";
        ++unexpected;
        break;
    }
    commands += r.state != CueState::Unexpected;
    if (r.formatRate != 0 && r.formatRate != report.documentRate && r.state != CueState::Damaged)
      line += common::format(" (%u Hz format)", unsigned(r.formatRate));
    lines.push_back(line);
  }
  std::string summary = common::format(
      "%zu commands: %zu found on time, %zu found off time, %zu damaged, %zu missing; unexpected transmissions: %zu",
      commands, onTime, offTime, damaged, missing, unexpected);
  if (std::abs(report.speed - 1) > kReportedSpeedDifference)
    summary += common::format("; speed %.4f (the track runs %.2f%% %s)", report.speed, std::abs(report.speed - 1) * 100,
                              report.speed > 1 ? "fast" : "slow");
  if (report.marginChecked) summary += common::format("; %d at risk", report.atRiskCount);
  lines.push_back(summary);
  return lines;
}

}  // namespace vtq
