#include "cue_check_report.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "common/output.h"
#include "cue_transmission.h"
#include "document.h"
#include "pulse_filter.h"

namespace vtq {
namespace {

constexpr double kWindowSeconds = 2.0;

// A command's transmission as it should appear in the mix.
struct Expected {
  const CCommand* command;
  std::vector<uint8_t> words;
  double sample;   // the command's time in the mix's samples
  double spacing;  // from one copy's start to the next
  int repeats;
};

// The layout of the transmissions in the mix's samples.
struct Geometry {
  double bit, lead, gap;
  explicit Geometry(const MixTiming& t)
      : bit(bitSamplesInMix(t.documentRate, t.mixRate)),
        lead(double(t.documentRate * kLeadMilliseconds / 1000) * t.mixRate / t.documentRate),
        gap(double(t.documentRate * kRepeatGapMilliseconds / 1000) * t.mixRate / t.documentRate) {}
  double spacing(size_t wordCount) const { return double(4 * packetNibbleCount(wordCount)) * bit + gap; }
};

std::vector<uint8_t> expectedWords(const CCommand& command) {
  CommandBytes bytes;
  const int count = command.dataBytes(bytes);
  std::vector<uint8_t> words = {uint8_t(0x10 | (command.isTimed() ? 0x80 : 0))};
  words.insert(words.end(), bytes.begin(), bytes.begin() + count);
  if (command.isTimed()) words.push_back(command.durationByte());
  return words;
}

// The command's start that a copy at `copyStart` gives, counting back through
// the copies before it; the copy number is the one that puts it nearest.
double derivedStart(const Expected& e, double copyStart, double lead) {
  const double first = copyStart - lead;
  const double copies = std::clamp(std::round((first - e.sample) / e.spacing), 0.0, double(e.repeats));
  return first - copies * e.spacing;
}

struct Match {
  double start;
  double distance;
};

std::optional<Match> matchFor(const Expected& e, const FoundTransmission& t, const Geometry& g, double window) {
  const double start = derivedStart(e, t.start, g.lead);
  const double distance = std::abs(start - e.sample);
  if (distance > window) return std::nullopt;
  return Match{start, distance};
}

std::string timeCodeAt(const MixTiming& timing, double sample) {
  const long long frames = timing.start.frameCount() + std::llround(sample / timing.mixRate * 25);
  const long long day = CSMPTETime::kFramesPerDay;
  return CSMPTETime(uint32_t(((frames % day) + day) % day)).text();
}

std::vector<Expected> expectations(const CQuorlinVTQEditorDoc& document, const MixTiming& timing, const Geometry& g,
                                   CueCheckReport& report) {
  std::vector<Expected> expected;
  for (const auto& command : document.commands()) {
    Expected e{command.get(), expectedWords(*command), 0, 0, command->retransmissions()};
    e.sample = double(command->insertTime().frameCount() - timing.start.frameCount()) * timing.mixRate / 25;
    e.spacing = g.spacing(e.words.size());
    const std::string label = command->insertTime().text() + " " + command->commandName();
    if (e.sample < 0) report.notes.push_back(label + " lies before the mix's start " + timing.start.text());
    if (e.sample >= double(timing.sampleCount)) report.notes.push_back(label + " lies after the mix's end");
    expected.push_back(std::move(e));
  }
  return expected;
}

// The command (index) that an intact transmission belongs to, with its match.
std::optional<std::pair<size_t, Match>> ownerOf(const FoundTransmission& t, const std::vector<Expected>& expected,
                                                const Geometry& g, double window) {
  std::optional<std::pair<size_t, Match>> owner;
  for (size_t c = 0; c < expected.size(); ++c) {
    if (expected[c].words != t.packet.words) continue;
    const auto m = matchFor(expected[c], t, g, window);
    if (m && (!owner || m->distance < owner->second.distance)) owner = std::pair{c, *m};
  }
  return owner;
}

// The damaged transmission in reach of a command that was not found, nearest first.
const FoundTransmission* nearestDamaged(const Expected& e, const std::vector<FoundTransmission>& found,
                                        const Geometry& g, double window) {
  const FoundTransmission* nearest = nullptr;
  double distance = 0;
  for (const FoundTransmission& t : found) {
    if (t.packet.check == PacketCheck::Intact) continue;
    const auto m = matchFor(e, t, g, window);
    if (m && (!nearest || m->distance < distance)) {
      nearest = &t;
      distance = m->distance;
    }
  }
  return nearest;
}

struct Counts {
  size_t onTime = 0, offTime = 0, damaged = 0, missing = 0, unexpected = 0;
};

// Copies of one unexplained packet at the retransmission spacing are one transmission.
void reportUnexpected(const std::vector<const FoundTransmission*>& unexplained, const MixTiming& timing,
                      const Geometry& g, CueCheckReport& report, Counts& counts) {
  const FoundTransmission* previous = nullptr;
  for (const FoundTransmission* t : unexplained) {
    const bool repeat = previous && previous->packet.words == t->packet.words &&
                        std::abs(t->start - previous->start - g.spacing(t->packet.words.size())) <= g.bit;
    previous = t;
    if (repeat) continue;
    report.lines.push_back(timeCodeAt(timing, t->start - g.lead) + " " + packetByteCode(t->packet.words) +
                           " unexpected");
    ++counts.unexpected;
  }
}

}  // namespace

CueCheckReport buildCheckReport(const CQuorlinVTQEditorDoc& document, const std::vector<FoundTransmission>& found,
                                const MixTiming& timing) {
  CueCheckReport report;
  const Geometry g(timing);
  const double window = kWindowSeconds * timing.mixRate;
  const std::vector<Expected> expected = expectations(document, timing, g, report);

  // Each intact transmission goes to the matching command it puts nearest;
  // each command keeps the copy nearest its time.
  std::vector<std::optional<Match>> best(expected.size());
  std::vector<const FoundTransmission*> unexplained;
  for (const FoundTransmission& t : found) {
    if (t.packet.check != PacketCheck::Intact) continue;
    const auto owner = ownerOf(t, expected, g, window);
    if (!owner) {
      unexplained.push_back(&t);
    } else if (!best[owner->first] || owner->second.distance < best[owner->first]->distance) {
      best[owner->first] = owner->second;
    }
  }

  Counts counts;
  for (size_t c = 0; c < expected.size(); ++c) {
    const CCommand& command = *expected[c].command;
    std::string line = command.insertTime().text() + " " + command.makeByteCodeText() + " ";
    if (best[c]) {
      const long long shift = std::llround((best[c]->start - expected[c].sample) / timing.mixRate * 25);
      line += common::format("found %s %+lld", timeCodeAt(timing, best[c]->start).c_str(), shift);
      ++(std::llabs(shift) <= 1 ? counts.onTime : counts.offTime);
    } else if (const FoundTransmission* damaged = nearestDamaged(expected[c], found, g, window)) {
      line += std::string("damaged ") + packetCheckName(damaged->packet.check);
      ++counts.damaged;
    } else {
      line += "missing";
      ++counts.missing;
    }
    report.lines.push_back(line);
  }
  reportUnexpected(unexplained, timing, g, report, counts);
  report.lines.push_back(common::format(
      "%zu commands: %zu found on time, %zu found off time, %zu damaged, %zu missing; unexpected transmissions: %zu",
      expected.size(), counts.onTime, counts.offTime, counts.damaged, counts.missing, counts.unexpected));
  report.outcome = counts.onTime == expected.size() && counts.unexpected == 0 ? CueCheckOutcome::Passed
                                                                              : CueCheckOutcome::Failed;
  return report;
}

}  // namespace vtq
