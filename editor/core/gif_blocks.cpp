#include "gif_blocks.h"

#include <algorithm>

#include "common/byte_order.h"

namespace vtq {
namespace {

using common::ByteReader;
using common::Endian;

constexpr uint8_t kExtensionIntroducer = 0x21;
constexpr uint8_t kImageSeparator = 0x2C;
constexpr uint8_t kTrailer = 0x3B;
constexpr uint8_t kGraphicControlLabel = 0xF9;
constexpr size_t kHeaderSize = 6;
constexpr size_t kScreenDescriptorSize = 7;
constexpr size_t kImageDescriptorSize = 10;  // with the separator

size_t colourTableSize(uint8_t flags) { return (flags & 0x80) ? 3u << ((flags & 7) + 1) : 0; }

// Skips a chain of sub-blocks up to and including its terminator, or to the
// end of the data.
void skipSubBlocks(ByteReader& in) {
  while (!in.atEnd()) {
    const uint8_t size = in.u8();
    if (size == 0) break;
    in.skip(std::min<size_t>(size, in.remaining()));
  }
}

struct PendingControl {
  ByteRange range;
  int delay = -1;
  int disposal = 0;
};

// Reads an extension after its introducer. A graphic control extension whose
// first sub-block holds its four bytes becomes the pending control of the
// next image; other extensions are passed over.
void readExtension(ByteReader& in, std::optional<PendingControl>& pending) {
  const size_t start = in.offset() - 1;
  const uint8_t label = in.u8();
  const size_t body = in.offset();
  // A complete graphic control block: size byte (4 or more), flags, delay
  // and the transparent colour index.
  const bool control = label == kGraphicControlLabel && in.remaining() >= 5 && in.u8() >= 4;
  const uint8_t flags = control ? in.u8() : 0;
  const uint16_t delay = control ? in.u16() : 0;
  in.seek(body);
  skipSubBlocks(in);
  if (control) pending = PendingControl{{start, in.offset() - start}, delay, (flags >> 2) & 7};
}

// Reads an image after its separator; false when its descriptor or local
// colour table is cut short.
bool readImage(ByteReader& in, GifFrameBlocks& frame) {
  const size_t start = in.offset() - 1;
  if (in.remaining() < kImageDescriptorSize - 1) return false;
  frame.left = in.u16();
  frame.top = in.u16();
  frame.width = in.u16();
  frame.height = in.u16();
  const size_t localTable = colourTableSize(in.u8());
  if (in.remaining() < localTable) return false;
  in.skip(localTable);
  frame.codeStart = in.offset();
  if (!in.atEnd()) in.skip(1);  // LZW minimum code size
  skipSubBlocks(in);
  frame.image = {start, in.offset() - start};
  return true;
}

}  // namespace

bool isGifData(std::span<const uint8_t> data) {
  return data.size() >= 3 && data[0] == 'G' && data[1] == 'I' && data[2] == 'F';
}

std::optional<GifBlocks> readGifBlocks(std::span<const uint8_t> data) {
  if (!isGifData(data) || data.size() < kHeaderSize + kScreenDescriptorSize) return std::nullopt;
  ByteReader in(data, Endian::Little);
  in.skip(kHeaderSize);
  GifBlocks blocks;
  blocks.screenWidth = in.u16();
  blocks.screenHeight = in.u16();
  const size_t globalTable = colourTableSize(in.u8());
  in.skip(2);
  if (in.remaining() < globalTable) return std::nullopt;
  in.skip(globalTable);
  blocks.head = {0, in.offset()};

  std::optional<PendingControl> pending;
  while (!in.atEnd()) {
    const uint8_t introducer = in.u8();
    if (introducer == kExtensionIntroducer) {
      readExtension(in, pending);
    } else if (introducer == kImageSeparator) {
      GifFrameBlocks frame;
      if (!readImage(in, frame)) break;
      if (pending) {
        frame.control = pending->range;
        frame.delay = pending->delay;
        frame.disposal = pending->disposal;
        pending.reset();
      }
      blocks.frames.push_back(frame);
    } else {
      break;  // the trailer, or bytes that start no block
    }
  }
  return blocks;
}

bool startsWithColourCode(std::span<const uint8_t> data, const GifFrameBlocks& frame) {
  const size_t end = frame.image.offset + frame.image.size;
  if (frame.codeStart >= end || end > data.size()) return false;
  ByteReader in(data.subspan(frame.codeStart, end - frame.codeStart), Endian::Little);
  const unsigned minCodeSize = in.u8();
  if (minCodeSize < 1 || minCodeSize > 11) return false;
  const unsigned width = minCodeSize + 1;
  const unsigned clear = 1u << minCodeSize;
  uint32_t bits = 0;
  unsigned bitCount = 0;
  size_t leftInBlock = 0;
  while (true) {
    while (bitCount < width) {
      if (leftInBlock == 0) leftInBlock = in.u8();
      if (leftInBlock == 0 || !in.ok()) return false;
      bits |= uint32_t(in.u8()) << bitCount;
      bitCount += 8;
      --leftInBlock;
    }
    const unsigned code = bits & ((1u << width) - 1);
    bits >>= width;
    bitCount -= width;
    if (code != clear) return code < clear;
  }
}

std::vector<uint8_t> cutGifFrame(std::span<const uint8_t> data, const GifBlocks& blocks, size_t index) {
  const GifFrameBlocks& frame = blocks.frames.at(index);
  std::vector<uint8_t> out;
  out.reserve(blocks.head.size + frame.control.size + frame.image.size + 1);
  for (const ByteRange& range : {blocks.head, frame.control, frame.image}) {
    const auto part = data.subspan(range.offset, range.size);
    out.insert(out.end(), part.begin(), part.end());
  }
  out.push_back(kTrailer);
  return out;
}

}  // namespace vtq
