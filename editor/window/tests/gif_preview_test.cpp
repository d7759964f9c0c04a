#include <gtest/gtest.h>

#include <QtCore/QBuffer>
#include <QtTest/QTest>

#include "gif_builder.h"
#include "preview/gif_preview.h"
#include "preview/preview_picture.h"
#include "window_test_support.h"

using namespace vtq;
using namespace vtq::testing;

namespace {

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

QByteArray bytesOf(const std::vector<uint8_t>& data) {
  return QByteArray(reinterpret_cast<const char*>(data.data()), qsizetype(data.size()));
}

// A 4 x 3 screen: frame 0 fills it red; frame 1, a 2 x 2 green square at
// (2, 1) from a local colour table; frame 2 blue from the global table,
// without a control extension.
TestGif threeFrames() {
  TestGif gif;
  gif.width = 4;
  gif.height = 3;
  gif.globalColours = {kRed, kWhite, kBlue};
  gif.extensionsFirst = true;
  auto local = solidFrame(2, 2, 1, 7);
  local.left = 2;
  local.top = 1;
  local.localColours = {kWhite, kGreen};
  gif.frames = {solidFrame(4, 3, 0, 10), local, solidFrame(4, 3, 2, -1)};
  return gif;
}

QRgb rgbAt(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

}  // namespace

TEST(PreviewPicture, CutsAndDecodesEachFrame) {
  const auto picture = decodePreviewPicture(bytesOf(buildGif(threeFrames())));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->size, QSize(4, 3));
  ASSERT_EQ(picture->frames.size(), 3u);
  const struct {
    int left, top, width, height, delay;
    QRgb colour;
  } expected[] = {{0, 0, 4, 3, 10, kRed}, {2, 1, 2, 2, 7, kGreen}, {0, 0, 4, 3, -1, kBlue}};
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const FrameRecord& f = picture->frames[i];
    EXPECT_EQ(QRect(f.left, f.top, f.width, f.height),
              QRect(expected[i].left, expected[i].top, expected[i].width, expected[i].height));
    EXPECT_EQ(f.delay, expected[i].delay);
    EXPECT_EQ(f.picture.size(), QSize(f.width, f.height));
    EXPECT_EQ(rgbAt(f.picture, f.width - 1, f.height - 1), expected[i].colour);
  }
  EXPECT_EQ(frameDelaySum(picture->frames, 3), 17);
}

// Frames that do not decode are left out; with none left the load fails.
// Data that are not a GIF, or a GIF of one frame, make one still picture.
TEST(PreviewPicture, LeavesOutWhatDoesNotDecode) {
  auto gif = threeFrames();
  gif.frames[0].data = GifData::Empty;
  gif.frames[2].data = GifData::InvalidFirstCode;
  const auto kept = decodePreviewPicture(bytesOf(buildGif(gif)));
  ASSERT_TRUE(kept);
  ASSERT_EQ(kept->frames.size(), 1u);
  EXPECT_EQ(kept->frames[0].delay, 7);

  gif.frames[1].data = GifData::Empty;
  EXPECT_FALSE(decodePreviewPicture(bytesOf(buildGif(gif))));
  EXPECT_FALSE(decodePreviewPicture(QByteArray("GIF89a")));
  EXPECT_FALSE(decodePreviewPicture(QByteArray("neither GIF nor any picture")));

  QImage png(5, 2, QImage::Format_RGB32);
  png.fill(Qt::green);
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  png.save(&buffer, "PNG");
  auto one = threeFrames();
  one.frames.resize(1);
  for (const QByteArray& data : {buffer.data(), bytesOf(buildGif(one))}) {
    const auto still = decodePreviewPicture(data);
    ASSERT_TRUE(still);
    EXPECT_FALSE(still->isAnimation());
    EXPECT_EQ(still->size, data.startsWith("GIF") ? QSize(4, 3) : QSize(5, 2));
    EXPECT_EQ(still->frames[0].delay, -1);
  }
}

// The first step shows frame 0; each further step the next, round to the first.
TEST(GifPreview, StepsThroughTheFrames) {
  test::testApplication();
  CGifPreview preview;
  EXPECT_EQ(preview.step(), -1);
  ASSERT_TRUE(preview.loadFromMemory(bytesOf(buildGif(threeFrames()))));
  EXPECT_EQ(preview.size(), QSize(4, 3));
  preview.start(true);
  std::vector<int> targets;
  for (int i = 0; i < 4; ++i) targets.push_back(preview.step());
  EXPECT_EQ(targets, (std::vector<int>{0, 1, 2, 0}));
  preview.step();
  preview.step();
  EXPECT_TRUE(QTest::qWaitFor([&] { return rgbAt(preview.offscreenPicture(), 0, 0) == kBlue; }, 5000));
  preview.stop();
  preview.unload();
  EXPECT_EQ(preview.frameCount(), 0);
  EXPECT_TRUE(preview.offscreenPicture().isNull());
}
