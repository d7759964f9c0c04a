// 10,000 commands: written as a command list and read back (as --export and
// --import do, every row checked), shifted by one second through the document
// edits, and encoded as the recovery checkpoint of the window encodes them
// every 2 s while a document has unsaved changes. Goal: each well under the
// 2 s of the recovery interval, so that the window never stalls.
#include <benchmark/benchmark.h>

#include "core/command_codes.h"
#include "core/command_csv.h"
#include "core/document.h"
#include "core/document_edits.h"
#include "core/qtd_format.h"

namespace {

constexpr int kCommands = 10000;

void fill(vtq::CQuorlinVTQEditorDoc& document) {
  std::vector<std::unique_ptr<vtq::CCommand>> commands;
  for (int i = 0; i < kCommands; ++i) {
    auto command = std::make_unique<vtq::CCommand>();
    command->SetCommand(i % 2 ? vtq::kPlaySound : vtq::kEnableAbility);
    command->MoveStart(vtq::CSMPTETime(uint32_t(i) * 50));
    commands.push_back(std::move(command));
  }
  vtq::insertCommands(document, std::move(commands), vtq::ConflictPolicy::Refuse);
}

void BM_ExportImportList(benchmark::State& state) {
  vtq::CQuorlinVTQEditorDoc document;
  fill(document);
  std::vector<const vtq::CCommand*> commands;
  for (const auto& command : document.commands()) commands.push_back(command.get());
  for (auto _ : state) {
    const std::string text = vtq::encodeCommandList(commands, vtq::ListSeparator::Comma);
    std::vector<std::unique_ptr<vtq::CCommand>> read;
    vtq::ListReadError error;
    if (!vtq::decodeCommandList(text, vtq::ListSeparator::Comma, vtq::ListHeader::Required, read, error))
      state.SkipWithError("the list did not read back");
    benchmark::DoNotOptimize(read.data());
  }
}

void BM_ShiftAll(benchmark::State& state) {
  vtq::CQuorlinVTQEditorDoc document;
  fill(document);
  std::vector<vtq::CommandSerial> serials;
  for (const auto& command : document.commands()) serials.push_back(command->serial());
  int64_t step = 25;
  for (auto _ : state) {
    if (!vtq::moveCommands(document, serials, step, vtq::ConflictPolicy::Refuse)) state.SkipWithError("refused");
    step = -step;
  }
}

void BM_RecoveryCheckpointBytes(benchmark::State& state) {
  vtq::CQuorlinVTQEditorDoc document;
  fill(document);
  for (auto _ : state) benchmark::DoNotOptimize(vtq::writeQtd(document.commands(), document.sampleRate()).data());
}

}  // namespace

BENCHMARK(BM_ExportImportList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShiftAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecoveryCheckpointBytes)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
