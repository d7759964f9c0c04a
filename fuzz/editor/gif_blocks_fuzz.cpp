// Feeds arbitrary bytes to the GIF block reader. Every range it reports must
// lie inside the data, and every frame must cut into a one-frame GIF of the
// head, control and image bytes and a trailer.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/gif_blocks.h"

namespace {

void checkRange(const vtq::ByteRange& range, size_t size) {
  if (range.offset > size || range.size > size - range.offset) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  const auto blocks = vtq::readGifBlocks(bytes);
  if (!blocks) return 0;
  checkRange(blocks->head, size);
  for (size_t i = 0; i < blocks->frames.size(); ++i) {
    const auto& frame = blocks->frames[i];
    checkRange(frame.control, size);
    checkRange(frame.image, size);
    if (frame.codeStart < frame.image.offset || frame.codeStart > frame.image.offset + frame.image.size) std::abort();
    (void)vtq::startsWithColourCode(bytes, frame);
    const auto cut = vtq::cutGifFrame(bytes, *blocks, i);
    if (cut.size() != blocks->head.size + frame.control.size + frame.image.size + 1 || cut.back() != 0x3B) std::abort();
    const auto again = vtq::readGifBlocks(cut);
    if (!again || again->frames.size() != 1 || again->frames[0].delay != frame.delay) std::abort();
  }
  return 0;
}
