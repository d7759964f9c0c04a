// The block structure of a GIF file, read without decoding a pixel: the
// logical screen and, for every image, its descriptor and graphic control
// values with the byte ranges that cutGifFrame() joins into a stand-alone
// one-frame GIF. The picture preview decodes those one-frame files one by one.
//
// Layout (all numbers little-endian): "GIF" and a 3-byte version; the logical
// screen descriptor (width, height, flags, background index, aspect) followed
// by the global colour table when flags bit 7 is set (3 * 2^(n+1) bytes with
// n = flags & 7); then blocks: 0x21 label sub-blocks... (extension), 0x2C
// (image: left, top, width, height, flags, optional local colour table, LZW
// code size, sub-blocks...), 0x3B (trailer). A sub-block is a size byte and
// that many bytes; size 0 ends the chain.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vtq {

struct ByteRange {
  size_t offset = 0;
  size_t size = 0;
};

struct GifFrameBlocks {
  uint16_t left = 0;
  uint16_t top = 0;
  uint16_t width = 0;
  uint16_t height = 0;
  // Hundredths of a second from the graphic control extension; -1 when the
  // image has none.
  int delay = -1;
  // Bits 2 to 4 of the extension's flags byte (0 without an extension).
  int disposal = 0;
  // The whole graphic control extension; empty when the image has none.
  ByteRange control;
  // Image descriptor, local colour table, code size byte and data
  // sub-blocks up to their terminator, or up to the end of the data when the
  // file is cut short there.
  ByteRange image;
  // Where the LZW code size byte stands (the end of the image range when the
  // data end before it).
  size_t codeStart = 0;
};

struct GifBlocks {
  uint16_t screenWidth = 0;
  uint16_t screenHeight = 0;
  // Header, logical screen descriptor and global colour table.
  ByteRange head;
  std::vector<GifFrameBlocks> frames;
};

// True when the data start with "GIF" (the version is not examined).
bool isGifData(std::span<const uint8_t> data);

// Reads the blocks of a GIF. Returns nothing when the data are not a GIF or
// end inside the header, screen descriptor or global colour table. Reading
// stops at the trailer, at a byte that starts no known block, or at the end
// of the data; an image whose descriptor or local colour table is cut short
// is not listed, one whose data are cut short is listed with what is there.
std::optional<GifBlocks> readGifBlocks(std::span<const uint8_t> data);

// True when the frame's LZW data start, after any clear codes, with a colour
// index, the only code a decoder can begin with. Qt's reader turns a frame
// that starts otherwise, or has no data, into an empty picture instead of
// failing, so the preview checks this itself.
bool startsWithColourCode(std::span<const uint8_t> data, const GifFrameBlocks& frame);

// A one-frame GIF of frame `index`: the file's head, the frame's graphic
// control extension if any, its image blocks and a trailer byte 0x3B.
std::vector<uint8_t> cutGifFrame(std::span<const uint8_t> data, const GifBlocks& blocks, size_t index);

}  // namespace vtq
