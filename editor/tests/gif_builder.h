// Small GIF files for tests, built from the format's rules alone: a header
// "GIF89a", the logical screen descriptor, colour tables, graphic control
// extensions and images whose LZW data hold every pixel as a literal code
// (a clear code before every two pixels keeps the code width fixed).
#pragma once

#include <cstdint>
#include <vector>

namespace vtq::testing {

enum class GifData { Pixels, Empty, InvalidFirstCode };

struct TestGifFrame {
  uint16_t left = 0;
  uint16_t top = 0;
  uint16_t width = 1;
  uint16_t height = 1;
  std::vector<uint8_t> pixels;         // colour indices, row by row
  std::vector<uint32_t> localColours;  // 0xRRGGBB; none: no local table
  int delay = -1;                      // below 0: no graphic control extension
  int disposal = 0;
  GifData data = GifData::Pixels;
};

struct TestGif {
  uint16_t width = 1;
  uint16_t height = 1;
  std::vector<uint32_t> globalColours;  // none: no global table
  // Comment and application extensions written before the first frame.
  bool extensionsFirst = false;
  std::vector<TestGifFrame> frames;
};

// The pieces of a file, for tests that expect a frame cut out of it.
std::vector<uint8_t> gifHead(const TestGif& gif);
std::vector<uint8_t> gifControl(const TestGifFrame& frame);
std::vector<uint8_t> gifImage(const TestGifFrame& frame);

// The whole file: head, optional extensions, each frame's control and image,
// trailer.
std::vector<uint8_t> buildGif(const TestGif& gif);

// A frame of `width` x `height` filled with colour index `colour`.
TestGifFrame solidFrame(uint16_t width, uint16_t height, uint8_t colour, int delay);

}  // namespace vtq::testing
