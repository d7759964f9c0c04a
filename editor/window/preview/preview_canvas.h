// The preview's off-screen picture. The worker draws frames into it while
// the window paints it, so every access holds its lock.
#pragma once

#include <QtGui/QColor>
#include <QtGui/QImage>
#include <mutex>

class QPainter;

namespace vtq {

struct FrameRecord;

class PreviewCanvas {
 public:
  // A picture of `size` filled with `clearColour`; `disposalColour` fills
  // the area of a frame with disposal method 2.
  void reset(QSize size, QColor clearColour, QColor disposalColour);
  void release();

  void clear();
  void drawFrame(const FrameRecord& frame);
  // The part of the picture under `frame`, and putting it back.
  QImage save(const FrameRecord& frame) const;
  void restore(const FrameRecord& frame, const QImage& saved);
  void dispose(const FrameRecord& frame);

  void paint(QPainter& painter) const;
  QImage snapshot() const;

 private:
  mutable std::mutex mutex_;
  QImage image_;
  QColor clearColour_;
  QColor disposalColour_;
};

}  // namespace vtq
