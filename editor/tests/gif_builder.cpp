#include "gif_builder.h"

#include <algorithm>
#include <span>

#include "common/byte_order.h"

namespace vtq::testing {
namespace {

using common::ByteWriter;

// Flags bits 0 to 2 of a colour table of `count` colours, padded to a power
// of two of at least 2.
int tableBits(size_t count) {
  int bits = 0;
  while ((size_t(2) << bits) < count) ++bits;
  return bits;
}

void writeTable(ByteWriter& out, const std::vector<uint32_t>& colours) {
  const size_t entries = size_t(2) << tableBits(colours.size());
  for (size_t i = 0; i < entries; ++i) {
    const uint32_t c = i < colours.size() ? colours[i] : 0;
    out.u8(uint8_t(c >> 16));
    out.u8(uint8_t(c >> 8));
    out.u8(uint8_t(c));
  }
}

// Packs codes of `width` bits, least significant bit first.
class BitPacker {
 public:
  void put(unsigned code, int width) {
    for (int i = 0; i < width; ++i) {
      if (bit_ == 0) bytes_.push_back(0);
      if (code & (1u << i)) bytes_.back() |= uint8_t(1u << bit_);
      bit_ = (bit_ + 1) % 8;
    }
  }
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
  int bit_ = 0;
};

std::vector<uint8_t> lzwCodes(const TestGifFrame& frame, int minCodeSize) {
  const unsigned clear = 1u << minCodeSize;
  const int width = minCodeSize + 1;
  BitPacker packer;
  if (frame.data == GifData::InvalidFirstCode) {
    packer.put(clear + 2, width);  // not yet in the code table
  } else {
    for (size_t i = 0; i < frame.pixels.size(); ++i) {
      if (i % 2 == 0) packer.put(clear, width);
      packer.put(frame.pixels[i], width);
    }
  }
  packer.put(clear + 1, width);
  return packer.bytes();
}

}  // namespace

std::vector<uint8_t> gifHead(const TestGif& gif) {
  ByteWriter out;
  out.text("GIF89a");
  out.u16(gif.width);
  out.u16(gif.height);
  out.u8(gif.globalColours.empty() ? 0 : uint8_t(0x80 | tableBits(gif.globalColours.size())));
  out.u8(0);
  out.u8(0);
  if (!gif.globalColours.empty()) writeTable(out, gif.globalColours);
  return out.take();
}

std::vector<uint8_t> gifControl(const TestGifFrame& frame) {
  if (frame.delay < 0) return {};
  ByteWriter out;
  out.bytes(std::vector<uint8_t>{0x21, 0xF9, 4, uint8_t(frame.disposal << 2)});
  out.u16(uint16_t(frame.delay));
  out.u8(0);
  out.u8(0);
  return out.take();
}

std::vector<uint8_t> gifImage(const TestGifFrame& frame) {
  ByteWriter out;
  out.u8(0x2C);
  out.u16(frame.left);
  out.u16(frame.top);
  out.u16(frame.width);
  out.u16(frame.height);
  out.u8(frame.localColours.empty() ? 0 : uint8_t(0x80 | tableBits(frame.localColours.size())));
  if (!frame.localColours.empty()) writeTable(out, frame.localColours);
  const int minCodeSize = 2;  // colour indices 0 to 3
  out.u8(minCodeSize);
  if (frame.data != GifData::Empty) {
    const auto codes = lzwCodes(frame, minCodeSize);
    for (size_t at = 0; at < codes.size(); at += 255) {
      const size_t n = std::min<size_t>(255, codes.size() - at);
      out.u8(uint8_t(n));
      out.bytes(std::span(codes).subspan(at, n));
    }
  }
  out.u8(0);
  return out.take();
}

std::vector<uint8_t> buildGif(const TestGif& gif) {
  ByteWriter out;
  out.bytes(gifHead(gif));
  if (gif.extensionsFirst) {
    out.bytes(std::vector<uint8_t>{0x21, 0xFE, 3, 'h', 'i', '!', 0});  // comment
    out.bytes(std::vector<uint8_t>{0x21, 0xFF, 11});                   // application: loop forever
    out.text("NETSCAPE2.0");
    out.bytes(std::vector<uint8_t>{3, 1, 0, 0, 0});
  }
  for (const auto& frame : gif.frames) {
    out.bytes(gifControl(frame));
    out.bytes(gifImage(frame));
  }
  out.u8(0x3B);
  return out.take();
}

TestGifFrame solidFrame(uint16_t width, uint16_t height, uint8_t colour, int delay) {
  TestGifFrame frame;
  frame.width = width;
  frame.height = height;
  frame.pixels.assign(size_t(width) * height, colour);
  frame.delay = delay;
  return frame;
}

}  // namespace vtq::testing
