// Converts generated MIDI files of 100,000 and 1,000,000 note events (each
// note-on and each note-off is one event) for every target, from reading the
// file to writing the song file, as a run of mid2trk does; and a Game Boy file
// of 1,000,000 events in chords of 10,000 events a tick, where the same-tick
// reordering has the most to do.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <utility>

#include "midisong/mid2trk_run.h"

namespace {

void putVlq(std::vector<uint8_t>& b, uint32_t v) {
  uint8_t groups[5];
  int n = 0;
  do {
    groups[n++] = uint8_t(v & 0x7F);
    v >>= 7;
  } while (v);
  while (n-- > 0) b.push_back(uint8_t(groups[n] | (n ? 0x80 : 0)));
}

void put32(std::vector<uint8_t>& b, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) b.push_back(uint8_t(v >> s));
}

// A format-1 file: a tempo track and four tracks on channels 0 to 3 with
// notes of varying keys, velocities and lengths, a program change now and
// then, and a loop section over the second half.
std::vector<uint8_t> generateMidi(size_t noteEvents) {
  const size_t notesPerTrack = noteEvents / 2 / 4;
  const uint32_t step = 60;
  std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 5, 0x01, 0xE0};  // 480 ticks per beat
  std::vector<uint8_t> tempo = {0, 0xFF, 0x51, 3, 0x07, 0xA1, 0x20, 0, 0xFF, 0x2F, 0};
  file.insert(file.end(), {'M', 'T', 'r', 'k'});
  put32(file, uint32_t(tempo.size()));
  file.insert(file.end(), tempo.begin(), tempo.end());
  const uint32_t loopStart = uint32_t(notesPerTrack / 2) * step;
  for (uint8_t channel = 0; channel < 4; ++channel) {
    std::vector<uint8_t> t;
    uint32_t now = 0;
    for (size_t i = 0; i < notesPerTrack; ++i) {
      const uint32_t start = uint32_t(i) * step;
      if (start == loopStart && channel == 0) t.insert(t.end(), {0, uint8_t(0xB0 | channel), 102, 0});
      if (i % 64 == 0) {
        putVlq(t, start - now);
        t.insert(t.end(), {uint8_t(0xC0 | channel), uint8_t(i / 64 % 128)});
        now = start;
      }
      const uint8_t key = uint8_t(36 + (i * 7 + channel * 5) % 48);
      putVlq(t, start - now);
      t.insert(t.end(), {uint8_t(0x90 | channel), key, uint8_t(40 + i % 80)});
      const uint32_t length = 20 + uint32_t(i % 3) * 15;
      putVlq(t, length);
      t.insert(t.end(), {uint8_t(0x80 | channel), key, 64});
      now = start + length;
    }
    putVlq(t, uint32_t(notesPerTrack) * step - now);
    if (channel == 0)
      t.insert(t.end(), {uint8_t(0xB0 | channel), 103, 0, 0});
    else
      t.insert(t.end(), {uint8_t(0x80 | channel), 0, 0, 0});
    t.insert(t.end(), {0xFF, 0x2F, 0});
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    put32(file, uint32_t(t.size()));
    file.insert(file.end(), t.begin(), t.end());
  }
  return file;
}

// A format-0 file of chords: every tick holds `perTick` note events on
// channels 0 to 3, the new notes first and then the ends of the previous
// tick's notes of the same keys (the order the handheld targets must turn
// round), and a program change per channel after them.
std::vector<uint8_t> generateSameTickMidi(size_t noteEvents, size_t perTick) {
  const size_t notesPerTick = perTick / 2;
  const auto keyOf = [](size_t j) { return uint8_t(24 + j % 96); };
  std::vector<uint8_t> t;
  for (size_t tick = 0; tick < noteEvents / perTick; ++tick) {
    for (size_t j = 0; j < notesPerTick; ++j) {
      putVlq(t, j == 0 && tick > 0 ? 1 : 0);
      t.insert(t.end(), {uint8_t(0x90 | j % 4), keyOf(j), 100});
    }
    for (size_t j = 0; j < notesPerTick && tick > 0; ++j) t.insert(t.end(), {0, uint8_t(0x80 | j % 4), keyOf(j), 64});
    for (uint8_t channel = 0; channel < 4; ++channel)
      t.insert(t.end(), {0, uint8_t(0xC0 | channel), uint8_t(tick % 128)});
  }
  for (size_t j = 0; j < notesPerTick; ++j) t.insert(t.end(), {uint8_t(j == 0), uint8_t(0x80 | j % 4), keyOf(j), 64});
  t.insert(t.end(), {0, 0xFF, 0x2F, 0});
  const uint8_t head[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 1,  // 1 tick per beat
                          'M', 'T', 'r', 'k'};
  std::vector<uint8_t> file(std::begin(head), std::end(head));
  put32(file, uint32_t(t.size()));
  file.insert(file.end(), t.begin(), t.end());
  return file;
}

// Files are generated once per process; `perTick` 0 stands for the file of
// generateMidi.
const std::filesystem::path& midiFile(size_t noteEvents, size_t perTick = 0) {
  static std::map<std::pair<size_t, size_t>, std::filesystem::path> files;
  auto& path = files[{noteEvents, perTick}];
  if (path.empty()) {
    path =
        std::filesystem::temp_directory_path() / ("midisong-bench-" + std::to_string(::getpid()) + "-" +
                                                  std::to_string(noteEvents) + "-" + std::to_string(perTick) + ".mid");
    const auto bytes = perTick ? generateSameTickMidi(noteEvents, perTick) : generateMidi(noteEvents);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  return path;
}

void convert(benchmark::State& state, const char* option, size_t perTick = 0) {
  const size_t noteEvents = size_t(state.range(0));
  const auto& midi = midiFile(noteEvents, perTick);
  const auto song = std::filesystem::path(midi).replace_extension(std::string(option + 1) + ".song");
  for (auto _ : state) {
    std::ostringstream text;
    common::Output out(text);
    common::Output err(text);
    midisong::SongRun run(midisong::kCurrentRelease, out, err);
    if (midisong::runMid2trk({option, midi.string(), song.string()}, run) != 0) {
      state.SkipWithError("conversion failed");
      break;
    }
  }
  state.counters["events/s"] = benchmark::Counter(double(noteEvents), benchmark::Counter::kIsIterationInvariantRate);
  std::filesystem::remove(song);
}

void gameBoy(benchmark::State& s) { convert(s, "-G"); }
void advance(benchmark::State& s) { convert(s, "-A"); }
void nintendo64(benchmark::State& s) { convert(s, "-N"); }
void dolphin(benchmark::State& s) { convert(s, "-D"); }
// Chords of 5,000 notes: 10,000 note events on every tick.
void gameBoyChords(benchmark::State& s) { convert(s, "-G", 10000); }

BENCHMARK(gameBoy)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(advance)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(nintendo64)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(dolphin)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(gameBoyChords)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

// Every iteration gets its memory back from the allocator instead of fresh
// pages from the system, for both sizes alike: the figures then compare the
// conversion's own work rather than first-touch page faults, which a real run
// pays once per page either way.
int main(int argc, char** argv) {
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
