// Shared by the window tests: the application object the widgets need,
// created once per test program on Qt's offscreen platform, and prompts
// answered in code.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "window_prompts.h"

class QApplication;

namespace vtq::test {

// Creates the application (offscreen unless QT_QPA_PLATFORM says otherwise)
// and registers the window's resources on the first call.
QApplication& testApplication();

// Answers every question from queues filled by the test and records what was
// asked. An empty queue answers "cancel"; the command dialog then leaves the
// command as it is and confirms.
class ScriptedPrompts : public WindowPrompts {
 public:
  bool editCommand(CCommand& command) override;
  ConflictChoice conflict(const std::string& warning) override;
  bool waveFailed(const std::string& message) override;
  ConflictChoice conflictWith(const QString& clash, bool retry) override;
  QString createDocumentName() override;
  OverwriteChoice overwriteExisting() override;
  QString openDocumentName() override;
  QString saveDocumentName(const QString& current) override;
  SaveChoice saveChanges(const QString& title) override;
  void error(const QString& message, const QString& detail) override;
  std::optional<CueTrackRequest> cueTrackRequest(const QString& suggested) override;
  std::optional<SoundTrackRequest> soundTrackRequest(const SoundTrackRequest& defaults) override;
  QString checkReport(const QString& text, const QString& suggestedCsv) override;
  void report(const QString& title, const QString& text) override;
  std::optional<ShiftRequest> shiftTimes(const ShiftRequest& proposal, int selectionCount) override;
  std::optional<CSMPTETime> goToTime(CSMPTETime start) override;
  int unusualRate(const QString& title, int rate) override;
  QString exportListName(const QString& suggested) override;
  QString importListName() override;

  std::deque<std::function<bool(CCommand&)>> edits;
  std::deque<ConflictChoice> conflicts;  // answers conflict and conflictWith
  std::vector<QString> clashes;          // the informative text of every conflictWith
  std::deque<QString> createNames;
  std::deque<OverwriteChoice> overwrites;
  std::deque<QString> openNames;
  std::deque<SaveChoice> saveChoices;
  std::deque<QString> soundFileNames;  // answers both the render and the check dialog
  std::deque<QString> csvNames;        // answers the check report's offer to save CSV
  std::vector<QString> reports;        // the text of every report shown
  std::vector<QString> errorDetails;   // the detail of every error shown
  std::deque<std::optional<ShiftRequest>> shifts;
  std::vector<ShiftRequest> shiftProposals;  // what each Shift Times dialog opened with
  std::deque<CSMPTETime> goToTimes;
  std::deque<int> rates;          // answers to the unusual rate question (0: keep)
  std::deque<QString> listNames;  // answers both the export and the import dialog

  std::vector<std::string> asked;  // one line per question, in order
};

}  // namespace vtq::test
