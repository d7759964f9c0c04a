#include "window_test_support.h"

#include <QtWidgets/QApplication>
#include <cstdlib>

#include "core/command.h"
#include "window_resources.h"

namespace vtq::test {
namespace {

template <typename T>
T next(std::deque<T>& queue, T otherwise) {
  if (queue.empty()) return otherwise;
  T value = std::move(queue.front());
  queue.pop_front();
  return value;
}

}  // namespace

QApplication& testApplication() {
  static int argc = 1;
  static char name[] = "editor_window_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    auto* created = new QApplication(argc, argv);
    initWindowResources();
    return created;
  }();
  return *app;
}

bool ScriptedPrompts::editCommand(CCommand& command) {
  asked.push_back("edit " + command.insertTime().text() + " " + command.commandName());
  auto edit = next<std::function<bool(CCommand&)>>(edits, [](CCommand&) { return true; });
  return edit(command);
}

ConflictChoice ScriptedPrompts::conflict(const std::string& warning) {
  asked.push_back("conflict: " + warning);
  return next(conflicts, ConflictChoice::Abort);
}

ConflictChoice ScriptedPrompts::conflictWith(const QString& clash, bool retry) {
  asked.push_back(std::string("conflict: ") + kConflictWarning);
  clashes.push_back(clash);
  const ConflictChoice choice = next(conflicts, ConflictChoice::Abort);
  return !retry && choice == ConflictChoice::Retry ? ConflictChoice::Abort : choice;
}

bool ScriptedPrompts::waveFailed(const std::string& message) {
  asked.push_back("wave failed: " + message);
  return false;
}

QString ScriptedPrompts::createDocumentName() {
  asked.push_back("create");
  // Start-up asks until it gets a name: a script that runs out must not hang.
  if (createNames.empty() && asked.size() > 100) std::abort();
  return next(createNames, QString());
}

OverwriteChoice ScriptedPrompts::overwriteExisting() {
  asked.push_back("overwrite");
  return next(overwrites, OverwriteChoice::Cancel);
}

QString ScriptedPrompts::openDocumentName() {
  asked.push_back("open");
  return next(openNames, QString());
}

QString ScriptedPrompts::saveDocumentName(const QString&) {
  asked.push_back("save as");
  return {};
}

SaveChoice ScriptedPrompts::saveChanges(const QString& title) {
  asked.push_back("save changes to " + title.toStdString());
  return next(saveChoices, SaveChoice::Cancel);
}

void ScriptedPrompts::error(const QString& message, const QString& detail) {
  asked.push_back("error: " + message.toStdString());
  errorDetails.push_back(detail);
}

std::optional<CueTrackRequest> ScriptedPrompts::cueTrackRequest(const QString&) {
  asked.push_back("cue track");
  const QString file = next(soundFileNames, QString());
  if (file.isEmpty()) return std::nullopt;
  return CueTrackRequest{file, CSMPTETime(), std::nullopt};
}

std::optional<SoundTrackRequest> ScriptedPrompts::soundTrackRequest(const CSMPTETime& start) {
  asked.push_back("sound track");
  const QString file = next(soundFileNames, QString());
  if (file.isEmpty()) return std::nullopt;
  return SoundTrackRequest{file, start, std::nullopt};
}

QString ScriptedPrompts::checkReport(const QString& text, const QString&) {
  asked.push_back("report: Check Sound Track");
  reports.push_back(text);
  return next(csvNames, QString());
}

void ScriptedPrompts::report(const QString& title, const QString& text) {
  asked.push_back("report: " + title.toStdString());
  reports.push_back(text);
}

std::optional<ShiftRequest> ScriptedPrompts::shiftTimes(const ShiftRequest& proposal, int) {
  asked.push_back("shift times");
  shiftProposals.push_back(proposal);
  return next<std::optional<ShiftRequest>>(shifts, std::nullopt);
}

std::optional<CSMPTETime> ScriptedPrompts::goToTime(CSMPTETime) {
  asked.push_back("go to time");
  if (goToTimes.empty()) return std::nullopt;
  return next(goToTimes, CSMPTETime());
}

int ScriptedPrompts::unusualRate(const QString& title, int rate) {
  asked.push_back("rate of " + title.toStdString() + ": " + std::to_string(rate));
  return next(rates, 0);
}

QString ScriptedPrompts::exportListName(const QString&) {
  asked.push_back("export list");
  return next(listNames, QString());
}

QString ScriptedPrompts::importListName() {
  asked.push_back("import list");
  return next(listNames, QString());
}

}  // namespace vtq::test
