#include "gif_preview.h"

#include <QtGui/QPainter>
#include <mutex>

#include "picture_source.h"
#include "preview_canvas.h"
#include "preview_picture.h"

namespace vtq {

// Lets a worker ask for a repaint for as long as the control exists: the
// control cuts the link before it goes, and a queued update posted before
// that is dropped with the control.
struct CGifPreview::RepaintLink {
  std::mutex mutex;
  CGifPreview* control = nullptr;

  void requestRepaint() {
    std::lock_guard lock(mutex);
    if (control)
      QMetaObject::invokeMethod(
          control, [c = control] { c->update(); }, Qt::QueuedConnection);
  }
};

CGifPreview::CGifPreview(QWidget* parent) : QWidget(parent), link_(std::make_shared<RepaintLink>()) {
  link_->control = this;
}

CGifPreview::~CGifPreview() {
  stop();
  std::lock_guard lock(link_->mutex);
  link_->control = nullptr;
}

bool CGifPreview::loadPicture(const PictureSource& source, uint16_t pictureId) {
  unload();
  const std::optional<QByteArray> data = source.pictureData(pictureId);
  return data && loadFromMemory(*data);
}

bool CGifPreview::loadFromMemory(const QByteArray& data) {
  unload();
  std::optional<PreviewPicture> picture = decodePreviewPicture(data);
  if (!picture) return false;
  frames_ = std::make_shared<const std::vector<FrameRecord>>(std::move(picture->frames));
  pictureSize_ = picture->size;
  // A new canvas each time: a worker left running draws into its own.
  canvas_ = std::make_shared<PreviewCanvas>();
  canvas_->reset(pictureSize_, palette().color(QPalette::Window), palette().color(QPalette::Button));
  setFixedSize(pictureSize_);
  updateGeometry();
  update();
  return true;
}

void CGifPreview::unload() {
  stop();
  frames_.reset();
  if (canvas_) canvas_->release();
  canvas_.reset();
  update();
}

void CGifPreview::start(bool loop) {
  if (!frames_) return;
  stop();
  if (frames_->size() == 1) {
    canvas_->drawFrame(frames_->front());
    update();
    return;
  }
  startWorker(loop ? Playback::Looped : Playback::Once);
}

void CGifPreview::stop() {
  if (worker_) worker_->stop();
  worker_.reset();
  stepping_ = false;
}

int CGifPreview::step() {
  if (!frames_) return -1;
  if (!stepping_) {
    stop();
    stepping_ = true;
    target_ = 0;
    startWorker(Playback::Stepping);
  } else {
    target_ = (target_ + 1) % frameCount();
    worker_->setTarget(target_);
  }
  return target_;
}

void CGifPreview::startWorker(Playback playback) {
  PreviewWorker::Setup setup;
  setup.frames = frames_;
  setup.canvas = canvas_;
  setup.playback = playback;
  setup.target = target_;
  setup.shown = [link = link_](int) { link->requestRepaint(); };
  worker_ = std::make_unique<PreviewWorker>(std::move(setup));
}

int CGifPreview::frameCount() const { return frames_ ? int(frames_->size()) : 0; }

int CGifPreview::delaySum(int count) const { return frames_ ? frameDelaySum(*frames_, count) : 0; }

QImage CGifPreview::offscreenPicture() const { return canvas_ ? canvas_->snapshot() : QImage(); }

QSize CGifPreview::sizeHint() const { return pictureSize_.isValid() ? pictureSize_ : QSize(0, 0); }

void CGifPreview::paintEvent(QPaintEvent*) {
  if (!canvas_) return;
  QPainter painter(this);
  canvas_->paint(painter);
}

}  // namespace vtq
