#include "film_playback.h"

#include <QtCore/QIODevice>
#include <QtMultimedia/QAudioDevice>
#include <QtMultimedia/QAudioFormat>
#include <QtMultimedia/QAudioSink>
#include <QtMultimedia/QMediaDevices>
#include <algorithm>
#include <cstring>
#include <vector>

namespace vtq {

void downmixToStereo(const float* in, size_t frames, uint16_t channels, float* out) {
  constexpr float kMinus3dB = 0.7071f;
  for (size_t f = 0; f < frames; ++f, in += channels) {
    float left = in[0], right = channels > 1 ? in[1] : in[0];
    if (channels > 2) {
      left += kMinus3dB * in[2];
      right += kMinus3dB * in[2];
    }
    for (uint16_t c = 4; c < channels; ++c) (c % 2 == 0 ? left : right) += kMinus3dB * in[c];
    out[2 * f] = left;
    out[2 * f + 1] = right;
  }
}

// The sink's source: film frames from the playhead on, cues added.
class FilmMixDevice : public QIODevice {
 public:
  FilmMixDevice(const FilmSound& sound, uint64_t frame, std::unique_ptr<CueMix> cues, float gain, bool asFloat)
      : sound_(sound), next_(frame), cues_(std::move(cues)), gain_(gain), asFloat_(asFloat) {}

  bool isSequential() const override { return true; }
  qint64 bytesAvailable() const override { return next_ < sound_.format().frameCount ? 1 << 16 : 0; }

 protected:
  qint64 writeData(const char*, qint64) override { return -1; }
  qint64 readData(char* data, qint64 maxSize) override {
    const size_t frameBytes = asFloat_ ? 8 : 4;
    const size_t wanted = std::min<size_t>(size_t(maxSize) / frameBytes, 1 << 14);
    const size_t got = sound_.readInterleaved(next_, wanted, film_);
    if (got == 0) return 0;
    stereo_.resize(2 * got);
    downmixToStereo(film_.data(), got, sound_.format().channels, stereo_.data());
    if (cues_ && gain_ > 0) {
      cue_.assign(got, 0.0f);
      cues_->addTo(next_, cue_, gain_);
      for (size_t f = 0; f < got; ++f) {
        stereo_[2 * f] += cue_[f];
        stereo_[2 * f + 1] += cue_[f];
      }
    }
    next_ += got;
    for (float& s : stereo_) s = std::clamp(s, -1.0f, 1.0f);
    if (asFloat_) {
      std::memcpy(data, stereo_.data(), stereo_.size() * sizeof(float));
    } else {
      auto* out = reinterpret_cast<int16_t*>(data);
      for (size_t i = 0; i < stereo_.size(); ++i) out[i] = int16_t(stereo_[i] * 32767.0f);
    }
    return qint64(got) * qint64(frameBytes);
  }

 private:
  const FilmSound& sound_;
  uint64_t next_;
  std::unique_ptr<CueMix> cues_;
  float gain_;
  bool asFloat_;
  std::vector<float> film_, stereo_, cue_;
};

FilmPlayback::FilmPlayback(QObject* parent) : QObject(parent) {}

FilmPlayback::~FilmPlayback() { stop(); }

bool FilmPlayback::start(const FilmSound& sound, uint64_t frame, std::unique_ptr<CueMix> cues, float cueGain,
                         QString& error) {
  stop();
  const QAudioDevice output = QMediaDevices::defaultAudioOutput();
  if (output.isNull()) {
    error = QStringLiteral("No sound device: the film sound cannot be played.");
    return false;
  }
  QAudioFormat format;
  format.setSampleRate(int(sound.format().sampleRate));
  format.setChannelCount(2);
  format.setSampleFormat(QAudioFormat::Int16);
  if (!output.isFormatSupported(format)) format.setSampleFormat(QAudioFormat::Float);
  if (!output.isFormatSupported(format)) {
    error = QStringLiteral("The sound device cannot play %1 Hz stereo.").arg(sound.format().sampleRate);
    return false;
  }
  rate_ = sound.format().sampleRate;
  startFrame_ = frame;
  device_ = new FilmMixDevice(sound, frame, std::move(cues), cueGain, format.sampleFormat() == QAudioFormat::Float);
  device_->open(QIODevice::ReadOnly);
  sink_ = new QAudioSink(output, format, this);
  device_->setParent(sink_);
  // Idle: the film's end was reached; stopped with an error: the device went away.
  connect(sink_, &QAudioSink::stateChanged, this, [this](QAudio::State state) {
    const bool failed = state == QAudio::StoppedState && sink_ && sink_->error() != QAudio::NoError;
    if (state == QAudio::IdleState || failed) {
      stop();
      emit stopped();
    }
  });
  sink_->start(device_);
  if (sink_->error() != QAudio::NoError) {
    stop();
    error = QStringLiteral("The sound device could not be opened.");
    return false;
  }
  return true;
}

void FilmPlayback::stop() {
  if (sink_) {
    QAudioSink* sink = sink_;
    sink_ = nullptr;
    sink->disconnect(this);
    sink->stop();
    sink->deleteLater();  // the mix device goes with it
  }
  device_ = nullptr;
}

double FilmPlayback::position() const {
  if (!sink_) return double(startFrame_);
  return double(startFrame_) + double(sink_->processedUSecs()) * rate_ / 1e6;
}

}  // namespace vtq
