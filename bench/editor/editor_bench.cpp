// A cue document of 10,000 commands: make every wave file, save the document
// and load it again, as `vtqedit --make-waves` and a reopening do. Goal: under
// 2 s for the whole round.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "core/command_codes.h"
#include "core/document.h"

namespace {

constexpr int kCommands = 10000;

// Commands of every kind, one every 2 seconds, a few of them timed or repeated.
std::unique_ptr<vtq::CCommand> makeCommand(vtq::CQuorlinVTQEditorDoc& document, int i) {
  static constexpr uint8_t kCodes[] = {vtq::kKeepAlive,     vtq::kPlaySound,      vtq::kShowAnimation,
                                       vtq::kEnableAbility, vtq::kDisableAbility, vtq::kSelectAbility,
                                       vtq::kStopAbility};
  auto command = std::make_unique<vtq::CCommand>(&document);
  command->SetCommand(kCodes[i % 7]);
  if (auto* sound = dynamic_cast<vtq::CPlaySound*>(&command->param())) sound->soundId = uint16_t(i % 348);
  if (auto* animation = dynamic_cast<vtq::CAnimation*>(&command->param())) animation->pictureId = uint16_t(i % 6657);
  if (auto* ability = dynamic_cast<vtq::CAbility*>(&command->param())) ability->abilityId = uint8_t(i % 27);
  command->MoveStart(vtq::CSMPTETime(uint32_t(i) * 50));
  command->setRetransmissions(i % 10 == 0 ? 1 : 0);
  if (i % 3 == 0) {
    command->SetTimed(true);
    command->SetResponseTime(vtq::CSMPTETime(uint32_t(i) * 50 + 25 * uint32_t(i % 200)));
  }
  return command;
}

class AcceptAll : public vtq::CommandPrompts {
 public:
  bool editCommand(vtq::CCommand&) override { return true; }
  vtq::ConflictChoice conflict(const std::string&) override { return vtq::ConflictChoice::Ignore; }
  bool waveFailed(const std::string&) override { return false; }
};

// Makes every wave file, saves the document and loads it again.
void makeSaveReload(benchmark::State& state, vtq::CQuorlinVTQEditorDoc& document) {
  for (const auto& command : document.commands()) {
    std::string waveError;
    if (!command->MakeWave(waveError)) state.SkipWithError(waveError.c_str());
  }
  vtq::DocumentError error;
  if (!document.saveDocument(error)) state.SkipWithError(error.detail.c_str());
  vtq::CQuorlinVTQEditorDoc reloaded;
  if (!reloaded.openDocument(document.path(), error) || reloaded.commandCount() != size_t(kCommands))
    state.SkipWithError("reload failed");
}

std::unique_ptr<vtq::CQuorlinVTQEditorDoc> makeDocument(benchmark::State& state, const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  auto document = std::make_unique<vtq::CQuorlinVTQEditorDoc>();
  vtq::DocumentError error;
  if (!document->newDocument(dir / "film.qtd", error)) state.SkipWithError(error.detail.c_str());
  // Built in time order, so that each insertion goes at the end; no wave files yet.
  AcceptAll prompts;
  for (int i = 0; i < kCommands; ++i) document->InsertCommand(makeCommand(*document, i), prompts);
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().extension() == ".wav") std::filesystem::remove(entry.path());
  }
  return document;
}

std::filesystem::path benchFolder() {
  return std::filesystem::temp_directory_path() / ("editor-bench-" + std::to_string(::getpid()));
}

// The first run on a new document: the wave files do not exist yet.
void BM_MakeWavesSaveReload(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove_all(benchFolder());
    auto document = makeDocument(state, benchFolder());
    state.ResumeTiming();
    makeSaveReload(state, *document);
  }
  std::filesystem::remove_all(benchFolder());
}

// Remaking the wave files of a document over the existing ones.
void BM_RemakeWavesSaveReload(benchmark::State& state) {
  std::filesystem::remove_all(benchFolder());
  auto document = makeDocument(state, benchFolder());
  makeSaveReload(state, *document);
  for (auto _ : state) makeSaveReload(state, *document);
  std::filesystem::remove_all(benchFolder());
}

}  // namespace

BENCHMARK(BM_MakeWavesSaveReload)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_RemakeWavesSaveReload)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

BENCHMARK_MAIN();
