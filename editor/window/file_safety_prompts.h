// The questions about a document's file that the recovery of unsaved changes
// and the watch for changes by other programs ask; the window answers with
// message boxes (DialogFileSafetyPrompts), tests in code. "%1" stands for the
// document's title.
#pragma once

#include <QtCore/QDateTime>
#include <QtCore/QString>

class QWidget;

namespace vtq {

inline constexpr const char* kRestoreQuestion = "%1 has changes from %2 that were not saved when the editor ended.\n"
                                                "Restore them? No discards them.";
inline constexpr const char* kReloadQuestion = "%1 has been changed by another program.\nReload it?";
inline constexpr const char* kReloadDiscardsQuestion =
    "%1 has been changed by another program.\nReload it and discard your unsaved changes?";
inline constexpr const char* kOverwriteChangedQuestion =
    "%1 has been changed by another program since it was opened or saved.\nOverwrite it?";

class FileSafetyPrompts {
 public:
  virtual ~FileSafetyPrompts() = default;
  // kRestoreQuestion: true restores the changes, false discards them.
  virtual bool restoreChanges(const QString& title, const QDateTime& when) = 0;
  // kReloadQuestion, or kReloadDiscardsQuestion when the document has unsaved changes.
  virtual bool reloadChanged(const QString& title, bool modified) = 0;
  // kOverwriteChangedQuestion, No being the default.
  virtual bool overwriteChanged(const QString& title) = 0;
  virtual void failed(const QString& message) = 0;
};

class DialogFileSafetyPrompts : public FileSafetyPrompts {
 public:
  explicit DialogFileSafetyPrompts(QWidget* parent) : parent_(parent) {}
  bool restoreChanges(const QString& title, const QDateTime& when) override;
  bool reloadChanged(const QString& title, bool modified) override;
  bool overwriteChanged(const QString& title) override;
  void failed(const QString& message) override;

 private:
  QWidget* parent_;
};

}  // namespace vtq
