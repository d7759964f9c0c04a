// Plays the film's sound from a frame with the cue track mixed in, downmixed
// to stereo, through Qt Multimedia's QAudioSink (16-bit, or float where the
// device wants it). The sink pulls the mix as it needs it; the position
// follows what the device has played.
#pragma once

#include <QtCore/QObject>
#include <QtCore/QString>
#include <memory>

#include "core/cue_mix.h"
#include "core/film_sound.h"

class QAudioSink;

namespace vtq {

class FilmMixDevice;

class FilmPlayback : public QObject {
  Q_OBJECT

 public:
  explicit FilmPlayback(QObject* parent = nullptr);
  ~FilmPlayback() override;

  // Starts `sound` at `frame`, with `cues` added at `cueGain` (0: muted).
  // False, with the reason, when there is no sound device or it refuses.
  bool start(const FilmSound& sound, uint64_t frame, std::unique_ptr<CueMix> cues, float cueGain, QString& error);
  void stop();
  bool isPlaying() const { return sink_ != nullptr; }
  // The film sound frame the device is playing now.
  double position() const;

 signals:
  void stopped();

 private:
  QAudioSink* sink_ = nullptr;
  FilmMixDevice* device_ = nullptr;
  uint64_t startFrame_ = 0;
  uint32_t rate_ = 48000;
};

// Downmixes interleaved frames of `channels` channels to stereo: mono goes to
// both sides; a third channel (centre) to both at -3 dB, a fourth (LFE) is
// left out, further ones alternate left and right at -3 dB.
void downmixToStereo(const float* in, size_t frames, uint16_t channels, float* out);

}  // namespace vtq
