#include "timeline_pane.h"

#include <QtCore/QTimer>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QVBoxLayout>
#include <cmath>

#include "core/document.h"

namespace vtq {

TimelinePane::TimelinePane(const CQuorlinVTQEditorDoc& document, QWidget* parent)
    : QWidget(parent),
      document_(document),
      view_(new TimelineView(document, this)),
      scroll_(new QScrollBar(Qt::Horizontal, this)),
      progress_(new QTimer(this)),
      follow_(new QTimer(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(view_, 1);
  layout->addWidget(scroll_);
  view_->setSound(nullptr, nullptr, std::nullopt, CSMPTETime());
  connect(view_, &TimelineView::viewChanged, this, &TimelinePane::updateScrollBar);
  connect(scroll_, &QScrollBar::valueChanged, this, [this](int value) {
    if (std::lround(view_->scale().firstFrame() / view_->scale().framesPerPixel()) != value)
      view_->scrollToColumn(value);
  });
  progress_->setInterval(100);
  connect(progress_, &QTimer::timeout, this, &TimelinePane::showProgress);
  follow_->setInterval(30);
  connect(follow_, &QTimer::timeout, this, &TimelinePane::followPlayback);
  connect(&playback_, &FilmPlayback::stopped, this, [this] {
    follow_->stop();
    emit statusMessage(QStringLiteral("Playback stopped"));
  });
}

TimelinePane::~TimelinePane() {
  playback_.stop();
  stopSummary();
}

bool TimelinePane::openSound(const QString& path, std::optional<CSMPTETime> start, ChannelChoice channel,
                             QString& error) {
  auto sound = std::make_unique<FilmSound>();
  if (!sound->open(path.toStdString())) {
    error = QString::fromStdString(sound->error());
    return false;
  }
  playback_.stop();
  stopSummary();
  sound_ = std::move(sound);
  start_ = start.value_or(filmSoundStart(sound_->format()));
  channel_ = channel && *channel < sound_->format().channels ? channel : std::nullopt;
  startSummary();
  return true;
}

void TimelinePane::closeSound() {
  playback_.stop();
  stopSummary();
  view_->setSound(nullptr, nullptr, std::nullopt, CSMPTETime());
  summary_.reset();
  sound_.reset();
}

CSMPTETime TimelinePane::soundStart() const { return sound_ ? filmSoundStart(sound_->format()) : CSMPTETime(); }

void TimelinePane::setStart(CSMPTETime start) {
  start_ = start;
  if (sound_) view_->setSound(sound_.get(), summary_.get(), channel_, start_);
}

void TimelinePane::setChannel(ChannelChoice channel) {
  if (!sound_ || channel == channel_) return;
  stopSummary();
  channel_ = channel;
  startSummary();
}

void TimelinePane::startSummary() {
  summary_ = std::make_unique<PeakSummary>(sound_->format().frameCount);
  cancel_ = false;
  view_->setSound(sound_.get(), summary_.get(), channel_, start_);
  worker_ = std::thread([summary = summary_.get(), sound = sound_.get(), channel = channel_, this] {
    summary->build(*sound, channel, cancel_);
  });
  progress_->start();
  showProgress();
}

void TimelinePane::stopSummary() {
  cancel_ = true;
  if (worker_.joinable()) worker_.join();
  progress_->stop();
}

void TimelinePane::waitForSummary() {
  if (worker_.joinable()) worker_.join();
  showProgress();
}

void TimelinePane::showProgress() {
  if (!summary_) return;
  const uint64_t total = std::max<uint64_t>(summary_->frameCount(), 1);
  const bool done = summary_->complete();
  view_->setStatusText(done ? QString()
                            : QStringLiteral("Reading film sound... %1%").arg(summary_->framesDone() * 100 / total));
  view_->update();
  if (done) progress_->stop();
}

void TimelinePane::updateScrollBar() {
  const TimelineScale& scale = view_->scale();
  const QSignalBlocker blocker(scroll_);
  scroll_->setRange(0, int(std::lround(scale.lastFirstFrame() / scale.framesPerPixel())));
  scroll_->setPageStep(std::max(scale.width(), 1));
  scroll_->setSingleStep(std::max(scale.width() / 10, 1));
  scroll_->setValue(int(std::lround(scale.firstFrame() / scale.framesPerPixel())));
}

void TimelinePane::togglePlayback() {
  if (playback_.isPlaying()) {
    playback_.stop();
    follow_->stop();
    emit statusMessage(QStringLiteral("Playback stopped"));
    return;
  }
  if (!sound_) {
    emit statusMessage(QStringLiteral("No film sound is open: File > Open Film Sound..."));
    return;
  }
  QString error;
  auto cues = std::make_unique<CueMix>(document_, sound_->format().sampleRate, start_);
  const uint64_t frame = uint64_t(std::max(view_->playhead(), 0.0));
  if (!playback_.start(*sound_, frame, std::move(cues), cueMuted_ ? 0.0f : cueGain_, error)) {
    emit statusMessage(error);
    return;
  }
  follow_->start();
  emit statusMessage(QStringLiteral("Playing from %1").arg(QString::fromStdString(view_->playheadTime().text())));
}

void TimelinePane::followPlayback() {
  view_->setPlayhead(playback_.position());
  view_->keepPlayheadInView();
}

}  // namespace vtq
