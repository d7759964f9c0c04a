// KALP samples: the toolset's own container, a 44-byte header and the data
// as stored. The data is not decoded; its coding travels in the record.
#include <cstring>
#include <new>

#include "common/byte_order.h"
#include "convert/samples/kalp_container.h"
#include "convert/samples/sample_formats.h"

namespace convert {
namespace {

using common::Endian;
using L = KalpLayout;

uint16_t recordCoding(uint16_t field) {
  switch (field) {
    case 0: return 1;
    case 1: return 2;
    default: return 0;
  }
}

}  // namespace

bool looksLikeKalp(std::span<const uint8_t> file) {
  if (file.size() < L::kVersionOffset + 2) return false;
  if (std::memcmp(file.data(), L::kMagic.data(), L::kMagic.size()) != 0) return false;
  if (file[L::kZeroOffset] != 0 || file[L::kZeroOffset + 1] != 0) return false;
  return common::loadU16(file.data() + L::kVersionOffset, Endian::Little) == L::kVersion;
}

SampleReadStatus readKalp(std::span<const uint8_t> file, SampleRecord& record) {
  common::ByteReader in(file, Endian::Little);
  in.seek(L::kVersionOffset);
  const uint16_t version = in.u16();
  if (in.ok() && version != L::kVersion) {
    return SampleReadStatus::fail(kSampleBadKalpVersion, "Unsupported KALP file version!");
  }
  const uint16_t coding = in.u16();
  record.bits = in.u16();
  record.rootKey = in.u16();
  record.channels = in.u16();
  record.rate = in.u32();
  in.skip(4);  // offset 20, not used
  record.frames = in.u32();
  in.skip(L::kHeaderSize - L::kUnusedTailOffset);  // three u32 and two u16, not used
  // A file shorter than its header holds less data than it announces.
  if (!in.ok()) return SampleReadStatus::fail(kSampleReadError, "Error while reading sample!");
  record.coding = recordCoding(coding);
  record.loopStart = -1;
  record.loopEnd = -1;
  record.loopMode = LoopMode::kNone;
  record.loopCount = 0;
  record.dataLength = uint32_t(file.size() - L::kHeaderSize);
  if (record.bits != L::kBits) {
    return SampleReadStatus::fail(kSampleFormatError, "KALP samples must have 16 bits/sample");
  }
  if (record.channels != L::kChannels) {
    return SampleReadStatus::fail(kSampleFormatError, "KALP samples must have only 1 channel");
  }
  try {
    // The data is little-endian 16-bit, as the container stores it.
    const std::span<const uint8_t> data = file.subspan(L::kDataOffset);
    record.samples16.resize(data.size() / 2);
    for (size_t i = 0; i < record.samples16.size(); ++i) {
      record.samples16[i] = int16_t(common::loadU16(data.data() + 2 * i, Endian::Little));
    }
  } catch (const std::bad_alloc&) {
    return SampleReadStatus::fail(kSampleOutOfMemory, "Out of memory!");
  }
  return SampleReadStatus::ok();
}

}  // namespace convert
