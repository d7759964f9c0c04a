// One edit in the window on a document of 10,000 commands: the command taken
// out, the dialog answered in code, the conflict check, the list's model
// reset and a synchronous repaint. The wave file is not written: the edit is
// answered Abort at the conflict question, which takes the same path up to
// the wave writing and puts the command back. Goal: under 100 ms per change.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QtCore/QSettings>
#include <QtWidgets/QApplication>
#include <cstdlib>
#include <filesystem>

#include "common/file_io.h"
#include "core/qtd_format.h"
#include "window/command_list_view.h"
#include "window/main_frame.h"
#include "window/sound_player.h"
#include "window/window_resources.h"

namespace {

constexpr int kCommands = 10000;

// Prompts that move the edited command onto its predecessor's transmission
// and answer the conflict with Abort.
class AbortingPrompts : public vtq::WindowPrompts {
 public:
  bool editCommand(vtq::CCommand& command) override {
    command.MoveStart(command.insertTime() - vtq::CSMPTETime(25));
    return true;
  }
  vtq::ConflictChoice conflict(const std::string&) override { return vtq::ConflictChoice::Abort; }
  bool waveFailed(const std::string&) override { return false; }
  QString createDocumentName() override { return {}; }
  vtq::OverwriteChoice overwriteExisting() override { return vtq::OverwriteChoice::Cancel; }
  QString openDocumentName() override { return {}; }
  QString saveDocumentName(const QString&) override { return {}; }
  vtq::SaveChoice saveChanges(const QString&) override { return vtq::SaveChoice::Discard; }
  void error(const QString&, const QString&) override {}
};

// A document file of 10,000 commands, one every 2 seconds, as a saved
// document holds them (file names and byte codes included).
std::filesystem::path writeDocument(const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  vtq::CCmdArray commands;
  for (int i = 0; i < kCommands; ++i) {
    auto command = std::make_unique<vtq::CCommand>();
    const vtq::CSMPTETime at(uint32_t(i) * 50);
    command->setLoadedFields(at, at, 0, 0, 0x10, "film" + at.digits() + ".wav", "0x10");
    command->setParam(vtq::CParam::forCommand(0x10));
    commands.append(std::move(command));
  }
  const std::filesystem::path path = dir / "film.qtd";
  std::string reason;
  common::replaceFile("bench", path, vtq::writeQtd(commands, 44100), reason);
  return path;
}

void BM_EditUpdateRepaint(benchmark::State& state) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("editor-window-bench-" + std::to_string(::getpid()));
  const std::filesystem::path path = writeDocument(dir);
  QSettings settings(QString::fromStdString((dir / "settings.ini").string()), QSettings::IniFormat);
  vtq::RecentFiles recent(settings);
  vtq::CQuorlinVTQEditorDoc document;
  AbortingPrompts prompts;
  vtq::SoundPlayer player;
  vtq::CMainFrame frame({document, prompts, recent, player});
  if (!frame.flows().openDocument(QString::fromStdString(path.string()))) state.SkipWithError("open failed");
  frame.updateView();
  frame.show();
  QApplication::processEvents();
  for (auto _ : state) {
    frame.listView()->selectRow(kCommands / 2);
    frame.commandEdit();
    frame.listView()->viewport()->repaint();
  }
  if (document.commandCount() != size_t(kCommands)) state.SkipWithError("the edit changed the list");
  std::filesystem::remove_all(dir);
}

}  // namespace

BENCHMARK(BM_EditUpdateRepaint)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  vtq::initWindowResources();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
