#include "preview_canvas.h"

#include <QtGui/QPainter>

#include "preview_picture.h"

namespace vtq {
namespace {

QRect areaOf(const FrameRecord& frame) { return QRect(frame.left, frame.top, frame.width, frame.height); }

}  // namespace

void PreviewCanvas::reset(QSize size, QColor clearColour, QColor disposalColour) {
  std::lock_guard lock(mutex_);
  image_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
  clearColour_ = clearColour;
  disposalColour_ = disposalColour;
  image_.fill(clearColour_);
}

void PreviewCanvas::release() {
  std::lock_guard lock(mutex_);
  image_ = QImage();
}

void PreviewCanvas::clear() {
  std::lock_guard lock(mutex_);
  image_.fill(clearColour_);
}

void PreviewCanvas::drawFrame(const FrameRecord& frame) {
  std::lock_guard lock(mutex_);
  if (image_.isNull()) return;
  QPainter painter(&image_);
  painter.drawImage(QPoint(frame.left, frame.top), frame.picture);
}

QImage PreviewCanvas::save(const FrameRecord& frame) const {
  std::lock_guard lock(mutex_);
  return image_.copy(areaOf(frame));
}

void PreviewCanvas::restore(const FrameRecord& frame, const QImage& saved) {
  std::lock_guard lock(mutex_);
  if (image_.isNull()) return;
  QPainter painter(&image_);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(QPoint(frame.left, frame.top), saved);
}

void PreviewCanvas::dispose(const FrameRecord& frame) {
  std::lock_guard lock(mutex_);
  if (image_.isNull()) return;
  QPainter painter(&image_);
  painter.fillRect(areaOf(frame), disposalColour_);
}

void PreviewCanvas::paint(QPainter& painter) const {
  std::lock_guard lock(mutex_);
  if (!image_.isNull()) painter.drawImage(QPoint(0, 0), image_);
}

QImage PreviewCanvas::snapshot() const {
  std::lock_guard lock(mutex_);
  return image_.copy();
}

}  // namespace vtq
