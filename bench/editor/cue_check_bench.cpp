// The sound track check on generated mixes (not part of CI; needs sox and
// espeak-ng).
//
// Robustness: a document of 120 cues, one every 3 s, is rendered and mixed
// under speech (espeak-ng), music-like audio (sox: sawtooth and square chords
// with vibrato and noise hats) and pink noise (sox), with the other audio's RMS
// over the whole mix 0, 6, 12 and 18 dB above the RMS of the cues over their
// samples from first to last pulse, scaled together so that nothing clips.
// The counters give the share of commands found intact within a frame of
// their time, and what was damaged, missing or unexpected.
// Goal: every cue found intact up to +12 dB.
//
// Speed: two hours of 48 kHz 16-bit stereo with 1,000 cues under pink noise.
// Goal: under 10 s (over 700 times real time).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "common/byte_order.h"
#include "common/file_io.h"
#include "core/command_codes.h"
#include "core/cue_check.h"
#include "core/cue_track.h"
#include "core/document.h"
#include "core/pcm_wave_reader.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kRate = 48000;

class AcceptAll : public vtq::CommandPrompts {
 public:
  bool editCommand(vtq::CCommand&) override { return true; }
  vtq::ConflictChoice conflict(const std::string&) override { return vtq::ConflictChoice::Ignore; }
  bool waveFailed(const std::string&) override { return false; }
};

bool shell(const std::string& command) { return std::system(command.c_str()) == 0; }

// Commands of every kind, `spacing` frames apart, some timed.
std::unique_ptr<vtq::CQuorlinVTQEditorDoc> makeDocument(const fs::path& path, int count, uint32_t spacing) {
  static constexpr uint8_t kCodes[] = {vtq::kKeepAlive,     vtq::kPlaySound,      vtq::kShowAnimation,
                                       vtq::kEnableAbility, vtq::kDisableAbility, vtq::kSelectAbility,
                                       vtq::kStopAbility};
  auto document = std::make_unique<vtq::CQuorlinVTQEditorDoc>();
  vtq::DocumentError error;
  document->newDocument(path, error);
  document->setSampleRate(int32_t(kRate));
  AcceptAll prompts;
  for (int i = 0; i < count; ++i) {
    auto command = std::make_unique<vtq::CCommand>(document.get());
    command->SetCommand(kCodes[i % 7]);
    if (auto* sound = dynamic_cast<vtq::CPlaySound*>(&command->param())) sound->soundId = uint16_t(i * 37 % 348);
    if (auto* picture = dynamic_cast<vtq::CAnimation*>(&command->param())) picture->pictureId = uint16_t(i * 101);
    if (auto* ability = dynamic_cast<vtq::CAbility*>(&command->param())) ability->abilityId = uint8_t(i % 27);
    const uint32_t at = 50 + uint32_t(i) * spacing + uint32_t(i % 25);
    command->MoveStart(vtq::CSMPTETime(at));
    if (i % 3 == 0) {
      command->SetTimed(true);
      command->SetResponseTime(vtq::CSMPTETime(at + 25 * uint32_t(1 + i % 200)));
    }
    document->InsertCommand(std::move(command), prompts);
  }
  return document;
}

std::vector<float> readMono(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  vtq::PcmWaveReader reader(in, path.string());
  std::vector<float> samples;
  if (!reader.readHeader()) return samples;
  std::vector<float> block(1 << 16);
  while (const size_t n = reader.readMono(block, std::nullopt))
    samples.insert(samples.end(), block.begin(), block.begin() + std::ptrdiff_t(n));
  return samples;
}

bool writeMono(const fs::path& path, const std::vector<float>& samples) {
  common::ByteWriter w(common::Endian::Little);
  w.text("RIFF");
  w.u32(uint32_t(36 + 2 * samples.size()));
  w.text("WAVEfmt ");
  w.u32(16);
  w.u16(1);
  w.u16(1);
  w.u32(kRate);
  w.u32(kRate * 2);
  w.u16(2);
  w.u16(16);
  w.text("data");
  w.u32(uint32_t(2 * samples.size()));
  for (float s : samples) w.s16(int16_t(std::lround(s)));
  std::string error;
  return common::replaceFile("bench", path, w.data(), error);
}

// The cues' RMS over each transmission from its first to its last pulse.
double cueRms(const vtq::CQuorlinVTQEditorDoc& document, const std::vector<float>& track) {
  double sum = 0;
  size_t count = 0;
  const size_t lead = kRate / 100;
  for (const auto& command : document.commands()) {
    size_t from = size_t(command->insertTime().frameCount()) * (kRate / 25) + lead;
    size_t to = from;
    for (size_t s = from; s < std::min(track.size(), from + kRate / 2); ++s)
      if (track[s] != 0) to = s + 1;
    for (size_t s = from; s < to; ++s) sum += double(track[s]) * track[s];
    count += to - from;
  }
  return std::sqrt(sum / double(count));
}

double rms(const std::vector<float>& samples) {
  double sum = 0;
  for (float s : samples) sum += double(s) * s;
  return std::sqrt(sum / double(samples.size()));
}

// The robustness mixes' common parts: the document, its track and the other audio.
struct Robustness {
  fs::path folder;
  std::unique_ptr<vtq::CQuorlinVTQEditorDoc> document;
  std::vector<float> track;
  double cueLevel = 0;
  std::map<std::string, std::vector<float>> others;
};

bool prepareRobustness(Robustness& r) {
  constexpr int kCues = 120;
  const double seconds = kCues * 3 + 4;
  fs::create_directories(r.folder);
  r.document = makeDocument(r.folder / "film.qtd", kCues, 75);
  if (vtq::renderCueTrack(*r.document, r.folder / "track.wav", {}).outcome != vtq::CueTrackOutcome::Written)
    return false;
  r.track = readMono(r.folder / "track.wav");
  r.track.resize(size_t(seconds * kRate), 0.0f);
  r.cueLevel = cueRms(*r.document, r.track);
  const std::string f = r.folder.string() + "/";
  const std::string len = std::to_string(seconds);
  const std::string text =
      "The toy listens to the film. When the hero raises his shield, the toy lights up, and when the ship crashes "
      "into the canyon wall it shakes and shouts. Children sit close to the screen, laughing and asking questions, "
      "while the music swells and the narrator explains what happens next in the story of the brave little robot.";
  bool ok = shell("espeak-ng -w '" + f + "speech-raw.wav' '" + text + "'") &&
            shell("sox -R '" + f + "speech-raw.wav' -r 48000 -b 16 '" + f + "speech.wav' repeat 40 trim 0 " + len) &&
            shell("sox -R -n -r 48000 -b 16 '" + f + "pink.wav' synth " + len + " pinknoise") &&
            shell("sox -R -n -r 48000 -b 16 '" + f + "chords.wav' synth " + len +
                  " sawtooth 110 sawtooth 138.6 square 164.8 sawtooth 220 remix - vol 0.5 tremolo 5 30") &&
            shell("sox -R -n -r 48000 -b 16 '" + f + "hats.wav' synth " + len + " whitenoise tremolo 4 100 vol 0.3") &&
            shell("sox -R -m '" + f + "chords.wav' '" + f + "hats.wav' '" + f + "music.wav'");
  for (const char* kind : {"speech", "music", "pink"}) {
    r.others[kind] = readMono(r.folder / (std::string(kind) + ".wav"));
    r.others[kind].resize(r.track.size(), 0.0f);
    ok = ok && rms(r.others[kind]) > 0;
  }
  return ok;
}

void BM_FoundIntact(benchmark::State& state, Robustness& r, const std::string& kind, double decibels) {
  if (r.track.empty() && !prepareRobustness(r)) state.SkipWithError("cannot make the mixes (sox, espeak-ng?)");
  if (r.track.empty()) return;
  const std::vector<float>& other = r.others[kind];
  const double gain = r.cueLevel * std::pow(10.0, decibels / 20) / rms(other);
  std::vector<float> mix(r.track.size());
  float peak = 0;
  for (size_t s = 0; s < mix.size(); ++s) peak = std::max(peak, std::abs(mix[s] = float(r.track[s] + gain * other[s])));
  for (float& s : mix) s *= std::min(1.0f, 32000.0f / peak);
  const fs::path path = r.folder / "mix.wav";
  writeMono(path, mix);
  vtq::CueCheckReport report;
  for (auto _ : state) report = vtq::checkSoundTrack(*r.document, path, {});
  size_t intact = 0, damaged = 0, unexpected = 0;
  std::string firstFailure;
  for (size_t i = 0; i < report.records.size(); ++i) {
    const vtq::CueRecord& record = report.records[i];
    const bool onTime = record.state == vtq::CueState::Found && std::abs(record.offsetFrames) <= 1;
    if (!onTime && firstFailure.empty()) firstFailure = report.lines[i];
    intact += onTime;
    damaged += record.state == vtq::CueState::Damaged;
    unexpected += record.state == vtq::CueState::Unexpected;
  }
  const double commands = double(r.document->commandCount());
  state.counters["intact"] = double(intact) / commands;
  state.counters["damaged"] = double(damaged);
  state.counters["missing"] = commands - double(intact) - double(damaged);
  state.counters["unexpected"] = double(unexpected);
  state.SetLabel(firstFailure);
}

// Two hours of stereo, written once beside the robustness mixes.
void BM_TwoHoursStereo(benchmark::State& state, const fs::path& folder) {
  constexpr int kCues = 1000;
  fs::create_directories(folder);
  auto document = makeDocument(folder / "film2h.qtd", kCues, 180);
  const fs::path track = folder / "track2h.wav", mix = folder / "mix2h.wav";
  vtq::CueTrackOptions options;
  options.length = vtq::CSMPTETime(2 * 90000);
  if (!fs::exists(mix)) {
    vtq::renderCueTrack(*document, track, options);
    if (!shell("sox -m -v 0.5 '" + track.string() +
               "' -v 1 '|sox -n -r 48000 -b 16 -p synth 7200 pinknoise vol 0.05' -c 2 '" + mix.string() + "'"))
      state.SkipWithError("sox failed");
    fs::remove(track);
  }
  vtq::CueCheckReport report;
  for (auto _ : state) report = vtq::checkSoundTrack(*document, mix, {});
  state.counters["lines"] = double(report.lines.size());
  state.counters["passed"] = report.outcome == vtq::CueCheckOutcome::Passed;
  state.SetLabel(report.lines.empty() ? "" : report.lines.back());
}

// The same mix through sox's statistics of one channel: a peer that reads
// every sample once, for the ratio (the machine is shared, times drift).
void BM_TwoHoursSoxStats(benchmark::State& state, const fs::path& folder) {
  const fs::path mix = folder / "mix2h.wav";
  if (!fs::exists(mix)) state.SkipWithError("run BM_TwoHoursStereo first");
  for (auto _ : state) {
    if (!shell("sox '" + mix.string() + "' -n remix 1 stats 2>/dev/null")) state.SkipWithError("sox failed");
  }
}

}  // namespace

int main(int argc, char** argv) {
  // CUE_CHECK_BENCH_FOLDER keeps the mixes between runs (they take minutes to make).
  const char* kept = std::getenv("CUE_CHECK_BENCH_FOLDER");
  const fs::path folder =
      kept ? fs::path(kept) : fs::temp_directory_path() / ("cue-check-bench-" + std::to_string(::getpid()));
  Robustness robustness;
  robustness.folder = folder;
  for (const char* kind : {"speech", "music", "pink"}) {
    for (double decibels : {0.0, 6.0, 12.0, 18.0}) {
      const std::string name = std::string("BM_FoundIntact/") + kind + "/+" + std::to_string(int(decibels)) + "dB";
      benchmark::RegisterBenchmark(
          name.c_str(),
          [&robustness, kind, decibels](benchmark::State& state) { BM_FoundIntact(state, robustness, kind, decibels); })
          ->Iterations(1)
          ->Unit(benchmark::kMillisecond);
    }
  }
  benchmark::RegisterBenchmark("BM_TwoHoursStereo",
                               [&folder](benchmark::State& state) { BM_TwoHoursStereo(state, folder); })
      ->Iterations(3)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("BM_TwoHoursSoxStats",
                               [&folder](benchmark::State& state) { BM_TwoHoursSoxStats(state, folder); })
      ->Iterations(3)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (!kept) fs::remove_all(folder);
  return 0;
}
