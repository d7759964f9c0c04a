// Reads four generated export scripts of 4,000 objects of every kind each
// (samples, macros, keymaps, layers, tables, sound effects, with groups that
// name them all), so that 16,000 IDs per kind are renumbered and merged.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "convert/conversion.h"
#include "convert/project/script_reading.h"
#include "convert/targets/target_table.h"

namespace {

constexpr int kObjects = 4000;
constexpr int kGroups = 40;  // each names 100 objects of every kind

std::string generateScript(int script) {
  std::ostringstream s;
  s << "Projectpath=C:\\Sound\\Project" << script << "\n[Samples]\n";
  for (int i = 1; i <= kObjects; ++i) s << i << ",sample" << i << ".wav," << (i % 3) << "\n";
  s << "[Soundmacros]\n";
  for (int i = 1; i <= kObjects; ++i) s << i << ",macro" << i << ".mac\n";
  s << "[Keymaps]\n";
  for (int i = 1; i <= kObjects; ++i) s << i << ",keymap.bin\n";
  s << "[Layers]\n";
  for (int i = 1; i <= kObjects; ++i) s << i << ",layer.bin\n";
  s << "[Tables]\n";
  for (int i = 1; i <= kObjects; ++i) s << i << ",table" << i << ".tab\n";
  const int perGroup = kObjects / kGroups;
  for (int g = 0; g < kGroups; ++g) {
    s << "[Songgroup]\nName=Songs" << script << "_" << g << "\n";
    for (int i = g * perGroup + 1; i <= (g + 1) * perGroup; ++i) {
      s << "Soundmacro=" << i << "\nSample=" << i << "\nTable=" << i << "\nKeymap=" << i << "\nLayer=" << i
        << "\nNormPageEntry=" << (i % 128) << "," << i << ",5,4,0\n";
    }
    s << "MidiSetup\n{\nName=Song" << script << "_" << g << "\nFilename=song.mid\n";
    for (int ch = 1; ch <= 16; ++ch) s << "Channelsetup=" << ch << ",1,100,64,0,0\n";
    s << "}\n[SFXgroup]\nName=Effects" << script << "_" << g << "\n";
    for (int i = g * perGroup + 1; i <= (g + 1) * perGroup; ++i) {
      s << "SFXEntry=" << i << "," << i << ",1,2,100,64,60,Effect" << i << "\n";
    }
  }
  return s.str();
}

void prepareFolder() {
  const auto dir = std::filesystem::temp_directory_path() / ("convert-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::filesystem::current_path(dir);
  std::ofstream keymap("keymap.bin", std::ios::binary);
  for (int i = 0; i < 1024; ++i) keymap.put(char(i % 7));
  std::ofstream layer("layer.bin", std::ios::binary);
  for (int i = 0; i < 9 * 8; ++i) layer.put(char(i % 5));
  for (int s = 0; s < 4; ++s) std::ofstream("script" + std::to_string(s) + ".txt") << generateScript(s);
}

void BM_ReadFourExportScripts(benchmark::State& state) {
  prepareFolder();
  for (auto _ : state) {
    std::ostringstream text;
    common::Output out(text);
    voconv::Conversion c(out, voconv::currentRelease());
    c.ids.clear();
    c.settings.target = voconv::builtInTargets().find("GB");  // no macro definitions needed
    c.runTool = [](const std::vector<std::string>&) { return voconv::ToolResult{0, {}}; };
    voconv::SongRuns songs(voconv::songToolSettings(c), c.basePaths, c.runTool, out, false);
    for (int s = 0; s < 4; ++s) {
      if (!voconv::readExportScript(c, songs, "script" + std::to_string(s) + ".txt", s))
        state.SkipWithError("read failed");
    }
    benchmark::DoNotOptimize(c.model.samples.size());
    if (c.model.samples.size() != 4 * kObjects) state.SkipWithError("not every sample was merged");
  }
}
BENCHMARK(BM_ReadFourExportScripts)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
