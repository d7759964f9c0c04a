#include "recent_files.h"

#include <QtCore/QFileInfo>
#include <QtCore/QSettings>

namespace vtq {
namespace {

const char* const kGroup = "Recent File List";

QString keyFor(int index) { return QStringLiteral("File%1").arg(index + 1); }

}  // namespace

RecentFiles::RecentFiles(QSettings& settings) : settings_(settings) {
  settings_.beginGroup(QString::fromUtf8(kGroup));
  for (int i = 0; i < kMaxEntries; ++i) {
    const QString path = settings_.value(keyFor(i)).toString();
    if (!path.isEmpty() && !entries_.contains(path)) entries_.append(path);
  }
  settings_.endGroup();
}

void RecentFiles::add(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  entries_.removeAll(absolute);
  entries_.prepend(absolute);
  while (entries_.size() > kMaxEntries) entries_.removeLast();
  store();
}

void RecentFiles::remove(const QString& path) {
  if (entries_.removeAll(QFileInfo(path).absoluteFilePath()) + entries_.removeAll(path) > 0) store();
}

QString RecentFiles::menuText(int index) const {
  // A "&" in a path would otherwise become a mnemonic.
  QString path = entries_.value(index);
  return QStringLiteral("&%1 %2").arg(index + 1).arg(path.replace(QLatin1Char('&'), QStringLiteral("&&")));
}

void RecentFiles::store() {
  settings_.beginGroup(QString::fromUtf8(kGroup));
  settings_.remove(QString());
  for (int i = 0; i < entries_.size(); ++i) settings_.setValue(keyFor(i), entries_[i]);
  settings_.endGroup();
  settings_.sync();
}

}  // namespace vtq
