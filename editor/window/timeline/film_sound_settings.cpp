#include "film_sound_settings.h"

#include <QtCore/QCryptographicHash>
#include <QtCore/QFileInfo>
#include <QtCore/QSettings>

namespace vtq {
namespace {

// One group per document, named by a hash of its absolute path (a path's
// slashes would make groups of their own).
QString groupFor(const QString& document) {
  const QString path = QFileInfo(document).absoluteFilePath();
  return QStringLiteral("FilmSound/") +
         QString::fromLatin1(QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex());
}

}  // namespace

std::optional<FilmSoundAssociation> FilmSoundSettings::find(const QString& document) const {
  settings_.beginGroup(groupFor(document));
  FilmSoundAssociation association;
  association.sound = settings_.value(QStringLiteral("sound")).toString();
  if (settings_.contains(QStringLiteral("start")))
    association.startFrames = settings_.value(QStringLiteral("start")).toInt();
  association.channel = settings_.value(QStringLiteral("channel"), 0).toInt();
  settings_.endGroup();
  if (association.sound.isEmpty()) return std::nullopt;
  return association;
}

void FilmSoundSettings::remember(const QString& document, const FilmSoundAssociation& association) {
  settings_.beginGroup(groupFor(document));
  settings_.setValue(QStringLiteral("document"), QFileInfo(document).absoluteFilePath());
  settings_.setValue(QStringLiteral("sound"), QFileInfo(association.sound).absoluteFilePath());
  if (association.startFrames) {
    settings_.setValue(QStringLiteral("start"), *association.startFrames);
  } else {
    settings_.remove(QStringLiteral("start"));
  }
  settings_.setValue(QStringLiteral("channel"), association.channel);
  settings_.endGroup();
}

void FilmSoundSettings::forget(const QString& document) { settings_.remove(groupFor(document)); }

}  // namespace vtq
