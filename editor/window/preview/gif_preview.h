// The picture control of the animation dialog: shows a picture id's GIF,
// animated by a worker thread, played once or looped, or stepped frame by
// frame (the icons of a picture).
#pragma once

#include <QtWidgets/QWidget>
#include <cstdint>
#include <memory>
#include <vector>

#include "preview_worker.h"

namespace vtq {

struct FrameRecord;
class PictureSource;
class PreviewCanvas;

class CGifPreview : public QWidget {
  Q_OBJECT

 public:
  explicit CGifPreview(QWidget* parent = nullptr);
  ~CGifPreview() override;

  // Loads the GIF of `pictureId` from `source`; false when there is none or
  // it does not decode (the control is then empty).
  bool loadPicture(const PictureSource& source, uint16_t pictureId);
  // Loads GIF data, or any other picture Qt reads as one still picture.
  bool loadFromMemory(const QByteArray& data);
  // Stops and releases the frames and the off-screen picture.
  void unload();
  bool isLoaded() const { return frames_ != nullptr; }

  // Draws a still picture once, or starts the animation.
  void start(bool loop);
  // Ends the animation, waiting at most PreviewWorker::kStopBound.
  void stop();
  // The first step stops a running animation and shows frame 0; every
  // further step moves on to the next frame (after the last, the first).
  // Returns the frame shown, or -1 when nothing is loaded.
  int step();

  int frameCount() const;
  // The delays of the first `count` frames, in hundredths of a second.
  int delaySum(int count) const;
  QImage offscreenPicture() const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct RepaintLink;

  void startWorker(Playback playback);

  std::shared_ptr<const std::vector<FrameRecord>> frames_;
  std::shared_ptr<PreviewCanvas> canvas_;
  std::shared_ptr<RepaintLink> link_;
  std::unique_ptr<PreviewWorker> worker_;
  QSize pictureSize_;
  bool stepping_ = false;
  int target_ = 0;
};

}  // namespace vtq
