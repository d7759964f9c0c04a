// The sound track check against what a release does to a mix: noise and
// bursts over the cues, a track played faster or slower, and cues made at the
// other rate. Everything is made here from seeds: pink noise by a sum of
// first-order filters over seeded white noise, louder bursts of it, and speed
// changes by windowed-sinc interpolation; the cues come from the document's
// own rendered track.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>
#include <random>
#include <sstream>

#include "common/byte_order.h"
#include "common/testing/cli_run.h"
#include "core/command_codes.h"
#include "core/cue_check.h"
#include "core/cue_track.h"
#include "core/document.h"
#include "core/pcm_wave_reader.h"

using testing_support::TempDir;

namespace {

using Samples = std::vector<float>;

class AcceptAll : public vtq::CommandPrompts {
 public:
  bool editCommand(vtq::CCommand&) override { return true; }
  vtq::ConflictChoice conflict(const std::string&) override { return vtq::ConflictChoice::Ignore; }
  bool waveFailed(const std::string&) override { return false; }
};

// `count` commands of every kind, one every 3 s from 1 s on, some timed and
// some repeated.
std::unique_ptr<vtq::CQuorlinVTQEditorDoc> makeDocument(const TempDir& dir, const char* name, int rate, int count) {
  static constexpr uint8_t kCodes[] = {vtq::kKeepAlive,     vtq::kPlaySound,      vtq::kShowAnimation,
                                       vtq::kEnableAbility, vtq::kDisableAbility, vtq::kSelectAbility,
                                       vtq::kStopAbility};
  auto document = std::make_unique<vtq::CQuorlinVTQEditorDoc>();
  vtq::DocumentError error;
  document->newDocument(dir.path() / name, error);
  document->setSampleRate(rate);
  AcceptAll prompts;
  for (int i = 0; i < count; ++i) {
    auto command = std::make_unique<vtq::CCommand>(document.get());
    command->SetCommand(kCodes[i % 7]);
    if (auto* sound = dynamic_cast<vtq::CPlaySound*>(&command->param())) sound->soundId = uint16_t(i * 37 % 348);
    if (auto* ability = dynamic_cast<vtq::CAbility*>(&command->param())) ability->abilityId = uint8_t(i % 27);
    const uint32_t at = 25 + uint32_t(i) * 75;
    command->MoveStart(vtq::CSMPTETime(at));
    command->setRetransmissions(uint8_t(i % 3));
    if (i % 4 == 0) {
      command->SetTimed(true);
      command->SetResponseTime(vtq::CSMPTETime(at + 25 * uint32_t(1 + i % 40)));
    }
    document->InsertCommand(std::move(command), prompts);
  }
  return document;
}

Samples renderTrack(const vtq::CQuorlinVTQEditorDoc& document, const TempDir& dir, double seconds) {
  vtq::CueTrackOptions options;
  options.length = vtq::CSMPTETime(uint32_t(seconds * 25));
  const auto path = dir.path() / "track.wav";
  EXPECT_EQ(vtq::renderCueTrack(document, path, options).outcome, vtq::CueTrackOutcome::Written);
  std::ifstream in(path, std::ios::binary);
  vtq::PcmWaveReader reader(in, "track.wav");
  Samples track;
  EXPECT_TRUE(reader.readHeader());
  Samples block(1 << 16);
  while (const size_t n = reader.readMono(block, std::nullopt))
    track.insert(track.end(), block.begin(), block.begin() + std::ptrdiff_t(n));
  return track;
}

vtq::CueCheckReport check(const vtq::CQuorlinVTQEditorDoc& document, const Samples& mix, uint32_t mixRate) {
  vtq::TransmissionFinder finder(uint32_t(document.sampleRate()), mixRate);
  for (size_t at = 0; at < mix.size(); at += 1 << 16)
    finder.push(std::span<const float>(mix.data() + at, std::min<size_t>(1 << 16, mix.size() - at)));
  finder.finish();
  const vtq::MixTiming timing{uint32_t(document.sampleRate()), mixRate, vtq::CSMPTETime(), mix.size()};
  return vtq::buildCheckReport(document, finder.found(), timing);
}

// Pink noise (-3 dB an octave) by Paul Kellet's filter of seeded white
// noise, with louder bursts of it (100 to 400 ms, +3 to +6 dB) every second
// or so.
Samples pinkNoiseWithBursts(size_t count, uint32_t rate, uint32_t seed) {
  static constexpr float kPole[6] = {0.99886f, 0.99332f, 0.96900f, 0.86650f, 0.55000f, -0.7616f};
  static constexpr float kGain[6] = {0.0555179f, 0.0750759f, 0.1538520f, 0.3104856f, 0.5329522f, -0.0168980f};
  std::mt19937 random(seed);
  std::normal_distribution<float> white(0, 1);
  std::uniform_real_distribution<float> uniform(0, 1);
  float state[6] = {}, previous = 0;
  Samples noise(count);
  size_t burstEnd = 0, nextBurst = rate * 3 / 2;
  float burstGain = 1;
  for (size_t s = 0; s < count; ++s) {
    const float w = white(random);
    float sum = w * 0.5362f + previous;
    for (int p = 0; p < 6; ++p) sum += state[p] = kPole[p] * state[p] + kGain[p] * w;
    previous = w * 0.115926f;
    if (s == nextBurst) {
      burstEnd = s + size_t(float(rate) * (0.1f + 0.3f * uniform(random)));
      burstGain = std::pow(10.0f, (3 + 3 * uniform(random)) / 20);
      nextBurst = s + rate / 2 + size_t(float(rate) * uniform(random));
    }
    noise[s] = sum * (s < burstEnd ? burstGain : 1.0f);
  }
  return noise;
}

double rms(const Samples& samples) {
  double sum = 0;
  for (float s : samples) sum += double(s) * s;
  return std::sqrt(sum / double(samples.size()));
}

// The cues' RMS over the samples where a transmission is sounding.
double cueRms(const Samples& track, uint32_t rate) {
  double sum = 0;
  size_t count = 0, lastPulse = 0;
  for (size_t s = 0; s < track.size(); ++s) {
    if (track[s] != 0) lastPulse = s;
    if (s - lastPulse < rate / 100) {
      sum += double(track[s]) * track[s];
      ++count;
    }
  }
  return std::sqrt(sum / double(count));
}

// The track played `speed` times as fast: band-limited interpolation with a
// Blackman-windowed sinc of 32 taps, its cut-off below the lower of the rates.
Samples playedAt(const Samples& track, double speed) {
  constexpr int kHalf = 16;
  const double cutoff = std::min(1.0, 1.0 / speed) * 0.95;
  Samples out(size_t(double(track.size()) / speed));
  for (size_t m = 0; m < out.size(); ++m) {
    const double t = double(m) * speed;
    const int64_t centre = int64_t(std::floor(t));
    double sum = 0;
    for (int64_t k = centre - kHalf + 1; k <= centre + kHalf; ++k) {
      if (k < 0 || k >= int64_t(track.size()) || track[size_t(k)] == 0) continue;
      const double x = t - double(k);
      const double sinc = x == 0 ? 1 : std::sin(std::numbers::pi * cutoff * x) / (std::numbers::pi * cutoff * x);
      const double window =
          0.42 + 0.5 * std::cos(std::numbers::pi * x / kHalf) + 0.08 * std::cos(2 * std::numbers::pi * x / kHalf);
      sum += track[size_t(k)] * cutoff * sinc * window;
    }
    out[m] = float(sum);
  }
  return out;
}

bool everyCueOnTime(const vtq::CueCheckReport& report) {
  if (report.outcome != vtq::CueCheckOutcome::Passed) return false;
  for (const auto& r : report.records) {
    if (r.state != vtq::CueState::Found || std::abs(r.offsetFrames) > 1) return false;
  }
  return true;
}

int medianMargin(const vtq::CueCheckReport& report) {
  std::vector<int> margins;
  for (const auto& r : report.records) margins.push_back(r.marginDb.value_or(-100));
  std::nth_element(margins.begin(), margins.begin() + std::ptrdiff_t(margins.size() / 2), margins.end());
  return margins[margins.size() / 2];
}

std::string failures(const vtq::CueCheckReport& report) {
  std::string text;
  for (const std::string& line : report.lines) {
    if (line.find(" found ") == std::string::npos || line.find(" +0 ") == std::string::npos) text += line + "\n";
  }
  return text;
}

}  // namespace

TEST(CueCheckGoal, CuesIntactUnderPinkNoiseAndBurstsWithMarginsFallingWithTheNoise) {
  TempDir dir;
  constexpr uint32_t kRate = 48000;
  const auto document = makeDocument(dir, "noise.qtd", kRate, 24);
  const Samples track = renderTrack(*document, dir, 75);
  const Samples noise = pinkNoiseWithBursts(track.size(), kRate, 20261209);
  const double unit = cueRms(track, kRate) / rms(noise);
  int previous = 0;
  for (double decibels : {0.0, 6.0, 12.0}) {
    Samples mix(track.size());
    const double gain = unit * std::pow(10.0, decibels / 20);
    for (size_t s = 0; s < mix.size(); ++s) mix[s] = float(track[s] + gain * noise[s]);
    const vtq::CueCheckReport report = check(*document, mix, kRate);
    // At +12 dB a burst lies over both copies of one cue and pushes one bit
    // of each past the midpoint of the two levels (the noise alone stands
    // 4 to 5 times its spread from the bit's level), however the packet is
    // found or its clock and phase taken: read as sent, never mended with its
    // own checks, that cue is damaged. No more than one, nothing unexpected.
    const size_t lost = size_t(std::count_if(report.records.begin(), report.records.end(), [](const auto& r) {
      return r.state != vtq::CueState::Found || std::abs(r.offsetFrames) > 1;
    }));
    EXPECT_LE(lost, decibels < 12 ? 0u : 1u) << "+" << decibels << " dB:\n" << failures(report);
    EXPECT_EQ(report.records.size(), 24u);
    const int median = medianMargin(report);
    if (decibels > 0) {
      EXPECT_NEAR(previous - median, 6, 1.5) << "+" << decibels << " dB";
    }
    previous = median;
  }
}

TEST(CueCheckGoal, FitsTheSpeedOfATrackPlayedFastOrSlowAndFindsEveryCueOnTime) {
  TempDir dir;
  constexpr uint32_t kRate = 48000;
  const auto document = makeDocument(dir, "speed.qtd", kRate, 22);
  const Samples track = renderTrack(*document, dir, 68);
  for (double speed : {1.001, 1 / 1.001, 25.0 / 24, 24.0 / 25}) {
    const vtq::CueCheckReport report = check(*document, playedAt(track, speed), kRate);
    EXPECT_NEAR(report.speed, speed, 20e-6 * speed);
    EXPECT_TRUE(everyCueOnTime(report)) << speed << ":\n" << failures(report);
  }
}

TEST(CueCheckGoal, ReadsCuesMadeAtTheOtherRateAndNamesTheirFormat) {
  TempDir dir;
  const auto at44100 = makeDocument(dir, "film.qtd", 44100, 6);
  const auto at48000 = makeDocument(dir, "remade.qtd", 48000, 6);
  const auto empty = makeDocument(dir, "empty.qtd", 44100, 0);
  const Samples track = renderTrack(*at48000, dir, 20);
  const vtq::CueCheckReport report = check(*at44100, track, 48000);
  EXPECT_TRUE(everyCueOnTime(report)) << failures(report);
  for (size_t c = 0; c < 6; ++c) {
    EXPECT_EQ(report.records[c].formatRate, 48000u);
    EXPECT_TRUE(report.lines[c].ends_with(" (48000 Hz format)")) << report.lines[c];
  }
  const vtq::CueCheckReport unexpected = check(*empty, track, 48000);
  EXPECT_EQ(unexpected.outcome, vtq::CueCheckOutcome::Failed);
  EXPECT_EQ(unexpected.lines.back(),
            "0 commands: 0 found on time, 0 found off time, 0 damaged, 0 missing; unexpected transmissions: 6");
}

TEST(CueCheckGoal, ReadsAMixWhoseHeaderDeclaresMoreThanMemoryHolds) {
  // 21,845 channels of 24 bits (a block of 65,535 bytes) and 0xFFFFFFFF data
  // bytes, followed by three frames.
  common::ByteWriter w(common::Endian::Little);
  w.text("RIFF");
  w.u32(0xFFFFFFFF);
  w.text("WAVEfmt ");
  w.u32(16);
  w.u16(1);
  w.u16(21845);
  w.u32(48000);
  w.u32(48000u * 65535u);
  w.u16(65535);
  w.u16(24);
  w.text("data");
  w.u32(0xFFFFFFFF);
  std::string bytes(w.data().begin(), w.data().end());
  bytes.append(3 * 65535, '\x01');
  std::istringstream in(bytes);
  vtq::PcmWaveReader reader(in, "huge.wav");
  ASSERT_TRUE(reader.readHeader()) << reader.error();
  Samples block(1 << 16);
  size_t frames = 0;
  while (const size_t n = reader.readMono(block, std::nullopt)) frames += n;
  EXPECT_EQ(frames, 3u);
}
