// The recent-file list: 4 entries, newest first, one per file, kept in the
// settings as "Recent File List/File1" ... "File4".
#include "recent_files.h"

#include <gtest/gtest.h>

#include <QtCore/QSettings>
#include <QtCore/QTemporaryDir>

namespace vtq {
namespace {

TEST(RecentFiles, KeepsFourNewestFirstAndShowsThemNumbered) {
  QTemporaryDir dir;
  const QString ini = dir.filePath(QStringLiteral("settings.ini"));
  const auto path = [&](const char* name) { return dir.filePath(QString::fromUtf8(name)); };
  {
    QSettings settings(ini, QSettings::IniFormat);
    RecentFiles recent(settings);
    for (const char* name : {"a.qtd", "b.qtd", "c.qtd", "d.qtd", "e.qtd", "c.qtd", "R&D.qtd"}) recent.add(path(name));
    EXPECT_EQ(recent.menuText(0), QStringLiteral("&1 ") + dir.path() + QStringLiteral("/R&&D.qtd"));
  }
  QSettings settings(ini, QSettings::IniFormat);
  const QStringList expected = {path("R&D.qtd"), path("c.qtd"), path("e.qtd"), path("d.qtd")};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(settings.value(QStringLiteral("Recent File List/File%1").arg(i + 1)).toString(), expected[i]) << i;
  }
  EXPECT_EQ(RecentFiles(settings).entries(), expected);
}

}  // namespace
}  // namespace vtq
