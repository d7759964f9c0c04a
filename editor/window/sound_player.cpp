#include "sound_player.h"

#include <QtCore/QEventLoop>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QTimer>
#include <QtCore/QUrl>
#include <QtMultimedia/QAudioDevice>
#include <QtMultimedia/QMediaDevices>
#include <QtMultimedia/QSoundEffect>
#include <span>

#include "core/wave_length.h"

namespace vtq {
namespace {

// Time allowed beyond the sound's length for loading and starting it.
constexpr int64_t kPlaybackMarginMs = 1000;

common::ReadResult<int64_t> fileWaveLength(const QString& path) {
  QFile file(path);
  if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
    return common::ReadError{path.toStdString(), {}, {}, "cannot open the file"};
  }
  const QByteArray bytes = file.readAll();
  return waveLengthMs(std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())));
}

}  // namespace

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent) {}

SoundPlayer::~SoundPlayer() = default;

bool SoundPlayer::hasAudioOutput() { return !QMediaDevices::audioOutputs().isEmpty(); }

bool SoundPlayer::playFile(const QString& path) {
  const auto lengthMs = fileWaveLength(path);
  if (!lengthMs || !hasAudioOutput()) return false;

  QSoundEffect effect;
  QEventLoop loop;
  QTimer limit;
  limit.setSingleShot(true);
  connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
  connect(&effect, &QSoundEffect::statusChanged, &loop, [&] {
    if (effect.status() == QSoundEffect::Error) loop.quit();
  });
  connect(&effect, &QSoundEffect::playingChanged, &loop, [&] {
    if (!effect.isPlaying()) loop.quit();
  });
  effect.setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
  effect.play();
  limit.start(int(std::min<int64_t>(*lengthMs + kPlaybackMarginMs, int64_t(24) * 3600 * 1000)));
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  effect.stop();
  return true;
}

bool SoundPlayer::playResource(const QString& resourcePath) {
  stop();
  if (!QFile::exists(resourcePath) || !hasAudioOutput()) return false;
  if (!preview_) preview_ = new QSoundEffect(this);
  preview_->setSource(QUrl(QStringLiteral("qrc") + resourcePath));
  preview_->play();
  return true;
}

void SoundPlayer::stop() {
  if (preview_) preview_->stop();
}

}  // namespace vtq
