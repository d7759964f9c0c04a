// Cue wave playback never hangs: files that are not wave files play nothing,
// and a wave file is waited for at most its length plus a margin (with or
// without an audio output on the test machine).
#include "sound_player.h"

#include <gtest/gtest.h>

#include <QtCore/QElapsedTimer>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>

#include "window_test_support.h"

namespace vtq {
namespace {

// A mono 16-bit wave file of `ms` milliseconds of silence at 8000 Hz.
QByteArray silentWave(int ms) {
  const auto le32 = [](uint32_t v) {
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = char(v >> (8 * i));
    return bytes;
  };
  const uint32_t dataBytes = uint32_t(ms) * 16;
  QByteArray wave = "RIFF" + le32(36 + dataBytes) + "WAVEfmt " + le32(16);
  wave += QByteArray("\x01\x00\x01\x00", 4) + le32(8000) + le32(16000) + QByteArray("\x02\x00\x10\x00", 4);
  wave += "data" + le32(dataBytes) + QByteArray(int(dataBytes), '\0');
  return wave;
}

TEST(SoundPlayer, PlaysOnlyWaveFilesAndWaitsNoLongerThanTheSound) {
  test::testApplication();
  QTemporaryDir dir;
  const struct {
    const char* name;
    QByteArray bytes;
    bool wave;
  } cases[] = {{"text.wav", "not a wave file", false}, {"short.wav", silentWave(200), true}};
  for (const auto& c : cases) {
    const QString path = dir.filePath(QString::fromUtf8(c.name));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(c.bytes);
    file.close();
    SoundPlayer player;
    QElapsedTimer clock;
    clock.start();
    const bool played = player.playFile(path);
    EXPECT_LT(clock.elapsed(), 200 + 1000 + 1000) << c.name;
    EXPECT_EQ(played, c.wave && SoundPlayer::hasAudioOutput()) << c.name;
  }
  SoundPlayer player;
  EXPECT_FALSE(player.playFile(dir.filePath(QStringLiteral("missing.wav"))));
  EXPECT_FALSE(player.playResource(QStringLiteral(":/no/such/sound.wav")));
}

}  // namespace
}  // namespace vtq
