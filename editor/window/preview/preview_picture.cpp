#include "preview_picture.h"

#include <QtCore/QBuffer>
#include <QtGui/QImageReader>
#include <algorithm>
#include <span>

#include "core/gif_blocks.h"

namespace vtq {
namespace {

// A few bytes can declare frames of 65535 x 65535 pixels: the frames kept of
// one picture hold at most this many pixels (256 MB), the rest are left out.
constexpr int64_t kFramePixelBudget = int64_t(1) << 26;

QImage decodeImage(const QByteArray& data, const char* format) {
  QBuffer buffer;
  buffer.setData(data);
  QImageReader reader(&buffer, format);
  reader.setDecideFormatFromContent(format == nullptr);
  return reader.read();
}

PreviewPicture stillPicture(const QImage& image, QSize size) {
  PreviewPicture picture;
  picture.size = size;
  picture.frames.push_back(FrameRecord{image, image.width(), image.height(), 0, 0, -1, 0});
  return picture;
}

// Cuts every frame into a one-frame GIF and decodes it; frames that do not
// decode are left out. Qt returns the whole logical screen with the frame at
// its offset; only the frame's own rectangle is kept.
std::vector<FrameRecord> decodeFrames(std::span<const uint8_t> bytes, const GifBlocks& blocks) {
  std::vector<FrameRecord> frames;
  int64_t pixelsLeft = kFramePixelBudget;
  for (size_t i = 0; i < blocks.frames.size(); ++i) {
    const GifFrameBlocks& f = blocks.frames[i];
    pixelsLeft -= int64_t(f.width) * f.height;
    if (pixelsLeft < 0) break;
    if (!startsWithColourCode(bytes, f)) continue;
    const std::vector<uint8_t> cut = cutGifFrame(bytes, blocks, i);
    const QImage image =
        decodeImage(QByteArray(reinterpret_cast<const char*>(cut.data()), qsizetype(cut.size())), "gif");
    if (image.isNull()) continue;
    const QImage own = image.copy(f.left, f.top, f.width, f.height);
    frames.push_back(FrameRecord{own, f.width, f.height, f.left, f.top, f.delay, f.disposal});
  }
  return frames;
}

}  // namespace

int frameDelaySum(const std::vector<FrameRecord>& frames, int count) {
  int sum = 0;
  for (int i = 0; i < std::min<int>(count, int(frames.size())); ++i) sum += std::max(frames[size_t(i)].delay, 0);
  return sum;
}

std::optional<PreviewPicture> decodePreviewPicture(const QByteArray& data) {
  const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(data.constData()), size_t(data.size()));
  if (!isGifData(bytes)) {
    const QImage image = decodeImage(data, nullptr);
    if (image.isNull()) return std::nullopt;
    return stillPicture(image, image.size());
  }
  const std::optional<GifBlocks> blocks = readGifBlocks(bytes);
  if (!blocks || blocks->frames.empty()) return std::nullopt;
  const QSize screen(blocks->screenWidth, blocks->screenHeight);
  if (blocks->frames.size() == 1) {
    if (!startsWithColourCode(bytes, blocks->frames.front())) return std::nullopt;
    const QImage image = decodeImage(data, "gif");
    if (image.isNull()) return std::nullopt;
    return stillPicture(image, screen);
  }
  PreviewPicture picture;
  picture.size = screen;
  picture.frames = decodeFrames(bytes, *blocks);
  if (picture.frames.empty()) return std::nullopt;
  return picture;
}

}  // namespace vtq
