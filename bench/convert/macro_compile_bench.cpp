// Indexing, compiling and relocating a project's macros: 8,192 macros of 16
// steps for the Game Boy Advance and 256 for the Game Boy, each with a step
// reference into the next macro.
#include <benchmark/benchmark.h>

#include <array>
#include <sstream>
#include <vector>

#include "convert/compile/macro_compilation.h"

namespace {

using namespace voconv;
using Step = std::array<uint8_t, 8>;

// 15 steps and END; step 7 jumps to step 3 of macro `next`.
std::vector<uint8_t> macroFile(const std::vector<Step>& body, uint16_t next) {
  std::vector<uint8_t> bytes;
  for (Step s : body) {
    if (s[0] == 0xFF)
      s = Step{
          body.front()[0] == 0x02 ? uint8_t(0x04) : uint8_t(0x06), 0, uint8_t(next), uint8_t(next >> 8), 3, 0, 0, 0};
    bytes.insert(bytes.end(), s.begin(), s.end());
  }
  bytes.insert(bytes.end(), 8, 0);
  return bytes;
}

const std::vector<Step> kAdvanceBody{{0x02, 1, 0, 0, 0, 0, 0x96, 0},
                                     {0x30, 60, 0xCE},
                                     {0x12, 1, 0, 1},
                                     {0x22, 1, 0xC0, 9},
                                     {0x19, 0x80, 0x20, 0x10, 0, 0, 0xE8, 3},
                                     {0x34, 0, 0xCE, 0, 0, 0, 0xE8, 3},
                                     {0x20, 0x40, 0, 0x30},
                                     {0xFF},
                                     {0x23, 0x40, 0, 0, 0, 0, 0xE8, 3},
                                     {0x24, 1, 0, 0, 0, 0, 0xE8, 3},
                                     {0x35, 0, 0xCE, 0, 0, 7, 0xE8, 3},
                                     {0x32, 60, 0, 48, 0, 0, 1},
                                     {0x25, 0x90, 0x10, 1, 5, 0, 0xE8, 3},
                                     {0x13, 1, 2, 3, 4, 5, 6, 7},
                                     {0x01}};

const std::vector<Step> kGameBoyBody{{0x07, 3, 0, 0, 0, 0, 0x96, 0},
                                     {0x16, 60, 0xCE, 0, 0, 0, 0xE8, 3},
                                     {0x10, 1, 0},
                                     {0x0C, 1, 0xC0},
                                     {0x0F, 1, 0, 0, 0, 0, 0xE8, 3},
                                     {0x1C, 0, 0xCE, 0, 0, 0, 0xE8, 3},
                                     {0x17, 60, 0xCE, 60, 1, 2},
                                     {0xFF},
                                     {0x1D, 1, 0, 0, 0, 1, 0xE8, 3},
                                     {0x1E, 1, 0, 0, 0, 0, 0xE8, 3},
                                     {0x1F, 0x80, 0x20, 0xE8, 3},
                                     {0x18, 60, 0xCE},
                                     {0x27, 5, 1},
                                     {0x0D, 5},
                                     {0x01}};

TargetObjectList project(const std::vector<Step>& body, uint16_t macros) {
  TargetObjectList objects;
  for (uint16_t id = 1; id <= 4; ++id) objects.add(TargetObjectType::Sample, id, 0);
  for (uint16_t id = 1; id <= 4; ++id) objects.add(TargetObjectType::Table, uint16_t(0xC000 | id), 0);
  for (uint16_t id = 0; id < macros; ++id) {
    objects.add(TargetObjectType::Macro, id, 0).payload = macroFile(body, uint16_t((id + 1) % macros));
  }
  return objects;
}

void compileProject(benchmark::State& state, CompileTarget target, const std::vector<Step>& body, uint16_t count) {
  TargetObjectList objects = project(body, count);
  std::ostringstream text;
  common::Output out(text);
  for (auto _ : state) {
    MacroCompilation mc(objects, target);
    if (!mc.compileAll(out)) state.SkipWithError("a macro failed");
    std::vector<uint32_t> offsets;
    std::size_t size = 0;
    for (const CompiledMacro& m : mc.macros()) {
      offsets.push_back(uint32_t(size + 4));
      size += 4 + m.size();
    }
    std::vector<uint8_t> image(size, 0);
    const bool ok =
        target == CompileTarget::Advance
            ? applyAdvanceRelocations(mc, offsets, image, out)
            : applyGameBoyRelocations(mc, std::vector<uint16_t>(offsets.begin(), offsets.end()), image, out);
    if (!ok) state.SkipWithError("a relocation failed");
    benchmark::DoNotOptimize(image.data());
  }
}

void BM_Advance8192Macros(benchmark::State& state) {
  compileProject(state, CompileTarget::Advance, kAdvanceBody, 8192);
}
void BM_GameBoy256Macros(benchmark::State& state) { compileProject(state, CompileTarget::GameBoy, kGameBoyBody, 256); }

BENCHMARK(BM_Advance8192Macros)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GameBoy256Macros)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
