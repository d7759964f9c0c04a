// Wave playback through Qt Multimedia: the cue wave files, played while the
// caller waits, and preview sounds from the program's resources, played while
// the user goes on working.
#pragma once

#include <QtCore/QObject>
#include <QtCore/QString>

class QSoundEffect;

namespace vtq {

class SoundPlayer : public QObject {
  Q_OBJECT

 public:
  explicit SoundPlayer(QObject* parent = nullptr);
  ~SoundPlayer() override;

  // Plays the wave file at `path` and returns when it has ended. The wait
  // lasts at most the sound's length plus a margin, since a player without a
  // working output never reports the end; user input is held back meanwhile.
  // Returns false at once, playing nothing, when the file is missing or not a
  // wave file or the machine has no audio output.
  bool playFile(const QString& path);

  // Starts the wave data at `resourcePath` (":/..."), replacing a sound this
  // player still plays, and returns at once. False when nothing was started.
  bool playResource(const QString& resourcePath);

  // Ends the sound started by playResource, if any.
  void stop();

  static bool hasAudioOutput();

 private:
  QSoundEffect* preview_ = nullptr;  // created with the first preview
};

}  // namespace vtq
