#include <gtest/gtest.h>

#include "core/gif_blocks.h"
#include "gif_builder.h"

using namespace vtq;
using namespace vtq::testing;

namespace {

std::vector<uint8_t> join(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

}  // namespace

// Each frame is cut into the file's head, its own control extension (if any)
// and image blocks, and a trailer; the records carry the descriptor and
// control values.
TEST(GifBlocks, CutsEveryFrameWithItsOwnBlocks) {
  TestGif gif;
  gif.width = 5;
  gif.height = 4;
  gif.globalColours = {0xFF0000, 0x00FF00, 0x0000FF};
  gif.extensionsFirst = true;
  auto local = solidFrame(2, 2, 1, 7);
  local.left = 3;
  local.top = 2;
  local.disposal = 3;
  local.localColours = {0x101010, 0x202020};
  auto noControl = solidFrame(1, 1, 2, -1);
  gif.frames = {solidFrame(5, 4, 0, 10), local, noControl};
  const auto file = buildGif(gif);

  const auto blocks = readGifBlocks(file);
  ASSERT_TRUE(blocks);
  EXPECT_EQ(blocks->screenWidth, 5);
  EXPECT_EQ(blocks->screenHeight, 4);
  ASSERT_EQ(blocks->frames.size(), 3u);
  const struct {
    int left, top, width, height, delay, disposal;
  } expected[] = {{0, 0, 5, 4, 10, 0}, {3, 2, 2, 2, 7, 3}, {0, 0, 1, 1, -1, 0}};
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const auto& f = blocks->frames[i];
    EXPECT_EQ(f.left, expected[i].left);
    EXPECT_EQ(f.top, expected[i].top);
    EXPECT_EQ(f.width, expected[i].width);
    EXPECT_EQ(f.height, expected[i].height);
    EXPECT_EQ(f.delay, expected[i].delay);
    EXPECT_EQ(f.disposal, expected[i].disposal);
    EXPECT_EQ(cutGifFrame(file, *blocks, i),
              join({gifHead(gif), gifControl(gif.frames[i]), gifImage(gif.frames[i]), {0x3B}}));
  }
}

// Data that end early keep the frames read before; what cannot be a GIF
// gives nothing.
TEST(GifBlocks, ShortOrForeignData) {
  TestGif gif;
  gif.width = gif.height = 2;
  gif.globalColours = {0, 0xFFFFFF};
  gif.frames = {solidFrame(2, 2, 1, 10), solidFrame(2, 2, 0, 10)};
  const auto file = buildGif(gif);
  const size_t head = gifHead(gif).size();
  const size_t firstFrameEnd = head + gifControl(gif.frames[0]).size() + gifImage(gif.frames[0]).size();
  const struct {
    size_t length;
    int frames;  // -1: not a GIF
  } cases[] = {
      {3, -1},                      // "GIF" alone
      {head - 1, -1},               // inside the global colour table
      {head, 0},                    // no block at all
      {firstFrameEnd + 8 + 5, 1},   // second descriptor cut short
      {firstFrameEnd + 8 + 12, 2},  // second frame's data cut short: kept
      {file.size(), 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.length);
    const auto blocks = readGifBlocks(std::span(file).first(c.length));
    ASSERT_EQ(blocks.has_value(), c.frames >= 0);
    if (blocks) {
      EXPECT_EQ(int(blocks->frames.size()), c.frames);
    }
  }
  const std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 0, 0, 0};
  EXPECT_FALSE(readGifBlocks(png));
}

// A decoder can only begin with a colour index (clear codes may come first).
TEST(GifBlocks, FirstCodeMustBeAColour) {
  const std::pair<GifData, bool> cases[] = {
      {GifData::Pixels, true}, {GifData::Empty, false}, {GifData::InvalidFirstCode, false}};
  for (const auto& [data, valid] : cases) {
    TestGif gif;
    gif.globalColours = {0, 0xFFFFFF};
    gif.frames = {solidFrame(1, 1, 1, 10)};
    gif.frames[0].data = data;
    const auto file = buildGif(gif);
    const auto blocks = readGifBlocks(file);
    ASSERT_TRUE(blocks);
    EXPECT_EQ(startsWithColourCode(file, blocks->frames[0]), valid) << int(data);
  }
}
