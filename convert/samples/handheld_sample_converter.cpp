#include "convert/samples/handheld_sample_converter.h"

#include <algorithm>

#include "convert/samples/sample_checksum.h"

namespace convert {
namespace {

constexpr size_t kMaxRunPerMarker = 255;

bool isSilentBlock(const uint8_t* block) {
  if ((block[0] & 0x0F) != 0x08) return false;
  return std::all_of(block + 1, block + kGameBoyBlockBytes, [](uint8_t b) { return b == 0x88; });
}

// Blocks whose first byte is 0x70..0x7F would read as markers.
void escapeMarkerBytes(std::vector<uint8_t>& blocks) {
  for (size_t pos = 0; pos < blocks.size(); pos += kGameBoyBlockBytes) {
    if ((blocks[pos] & 0xF0) == 0x70) blocks[pos] = uint8_t(0x80 | (blocks[pos] & 0x0F));
  }
}

void appendMarkers(std::vector<uint8_t>& out, size_t run) {
  while (run > 0) {
    const size_t covered = std::min(run, kMaxRunPerMarker);
    out.push_back(kSilenceMarker);
    out.push_back(uint8_t(covered - 1));
    out.insert(out.end(), kGameBoyBlockBytes - 2, 0x88);
    run -= covered;
  }
}

}  // namespace

std::vector<uint8_t> packHandheldCodes(const std::vector<int16_t>& samples, uint32_t length) {
  const size_t codes = (size_t(length) + kCodesPerBlock - 1) / kCodesPerBlock * kCodesPerBlock;
  std::vector<uint8_t> packed(codes / 2);
  const auto codeAt = [&](size_t i) -> uint8_t {
    if (i >= length) return kCodePad;
    return handheldCode(i < samples.size() ? samples[i] : int16_t(0));
  };
  for (size_t i = 0; i < packed.size(); ++i) packed[i] = uint8_t(codeAt(2 * i) << 4 | codeAt(2 * i + 1));
  return packed;
}

size_t convertSampleForAdvance(HandheldSample& sample) {
  const uint32_t length = sample.header.length();
  if (sample.header.type() == 0) {
    sample.data.assign(length, 0);
    for (uint32_t i = 0; i < length && i < sample.samples.size(); ++i) {
      sample.data[i] = uint8_t(int8_t(sample.samples[i] / 256));
    }
  } else {
    sample.data = packHandheldCodes(sample.samples, length);
  }
  return sample.objectSize();
}

std::vector<uint8_t> collapseSilentBlocks(const std::vector<uint8_t>& blocks) {
  const size_t count = blocks.size() / kGameBoyBlockBytes;
  const auto silent = [&](size_t b) { return isSilentBlock(blocks.data() + b * kGameBoyBlockBytes); };
  bool hasPair = false;
  for (size_t b = 0; b + 1 < count && !hasPair; ++b) hasPair = silent(b) && silent(b + 1);
  if (!hasPair) return blocks;
  std::vector<uint8_t> out;
  out.reserve(blocks.size());
  size_t b = 0;
  while (b < count) {
    size_t run = 0;
    while (b + run < count && silent(b + run)) ++run;
    if (run >= 2) {
      appendMarkers(out, run);
      b += run;
    } else {
      const size_t take = run == 0 ? 1 : run;  // a lone silent block stays as it is
      out.insert(out.end(), blocks.begin() + b * kGameBoyBlockBytes, blocks.begin() + (b + take) * kGameBoyBlockBytes);
      b += take;
    }
  }
  return out;
}

size_t convertSampleForGameBoy(HandheldSample& sample) {
  std::vector<uint8_t> blocks = packHandheldCodes(sample.samples, sample.header.length());
  if (blocks.size() > kGameBoyBlockBytes) {
    escapeMarkerBytes(blocks);
    blocks = collapseSilentBlocks(blocks);
  }
  sample.data = std::move(blocks);
  sample.checksum = sampleChecksum(sample.data);
  return sample.objectSize();
}

}  // namespace convert
