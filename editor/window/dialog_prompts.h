// The window's answers to the editor's questions: the command dialog, Qt's
// widget file dialogs and message boxes titled with the application title.
#pragma once

#include "window_prompts.h"

class QWidget;

namespace vtq {

inline constexpr const char* kApplicationTitle = "Quorlin VTQ Editor";

class DialogPrompts : public WindowPrompts {
 public:
  // Dialogs and boxes are shown over `parent` (none before the frame exists).
  void setParent(QWidget* parent) { parent_ = parent; }

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
  std::optional<SoundTrackRequest> soundTrackRequest(const CSMPTETime& start) override;
  QString checkReport(const QString& text, const QString& suggestedCsv) override;
  void report(const QString& title, const QString& text) override;
  std::optional<ShiftRequest> shiftTimes(const ShiftRequest& proposal, int selectionCount) override;
  std::optional<CSMPTETime> goToTime(CSMPTETime start) override;
  int unusualRate(const QString& title, int rate) override;
  QString exportListName(const QString& suggested) override;
  QString importListName() override;

 private:
  QWidget* parent_ = nullptr;
};

}  // namespace vtq
