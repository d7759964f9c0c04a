// Which film sound a document was last shown with, remembered in the user's
// settings (the .qtd format has no place for it): the sound's path, a start
// time code the user set (else the sound's own), and the channel shown.
#pragma once

#include <QtCore/QString>
#include <optional>

class QSettings;

namespace vtq {

struct FilmSoundAssociation {
  QString sound;
  std::optional<int> startFrames;  // set by Film Sound Start...
  int channel = 0;                 // 0: all channels summed, else the channel counted from 1
};

class FilmSoundSettings {
 public:
  explicit FilmSoundSettings(QSettings& settings) : settings_(settings) {}

  std::optional<FilmSoundAssociation> find(const QString& document) const;
  void remember(const QString& document, const FilmSoundAssociation& association);
  void forget(const QString& document);

 private:
  QSettings& settings_;
};

}  // namespace vtq
