// A picture decoded for the preview: its size and its frames. A GIF with
// several images becomes one frame record per image that decodes; anything
// else (a one-image GIF, a PNG, ...) becomes one still frame.
#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QSize>
#include <QtGui/QImage>
#include <optional>
#include <vector>

namespace vtq {

struct FrameRecord {
  // The frame's own rectangle of its decoded one-frame GIF (a still picture:
  // the whole picture), drawn at left, top.
  QImage picture;
  int width = 0;
  int height = 0;
  int left = 0;
  int top = 0;
  // Hundredths of a second; -1 when the frame has no graphic control extension.
  int delay = -1;
  int disposal = 0;
};

struct PreviewPicture {
  QSize size;
  std::vector<FrameRecord> frames;

  bool isAnimation() const { return frames.size() > 1; }
};

// The sum of the delays of the first `count` frames, in hundredths of a
// second; frames without a delay count as 0.
int frameDelaySum(const std::vector<FrameRecord>& frames, int count);

// Decodes `data`: nothing when no frame decodes.
std::optional<PreviewPicture> decodePreviewPicture(const QByteArray& data);

}  // namespace vtq
