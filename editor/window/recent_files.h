// The recent-file list: the 4 documents opened or created last, newest first,
// kept in the user settings ("Recent File List", "File1" ... "File4") and
// written whenever the list changes.
#pragma once

#include <QtCore/QStringList>

class QSettings;

namespace vtq {

class RecentFiles {
 public:
  static constexpr int kMaxEntries = 4;

  // Reads the list from `settings`, which must outlive this object.
  explicit RecentFiles(QSettings& settings);

  const QStringList& entries() const { return entries_; }
  // Puts `path` (made absolute) first, dropping an older entry of the same file.
  void add(const QString& path);
  void remove(const QString& path);
  // The File menu's text of entry `index`: "&1 <path>".
  QString menuText(int index) const;

 private:
  void store();

  QSettings& settings_;
  QStringList entries_;
};

}  // namespace vtq
