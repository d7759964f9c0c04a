// RIFF WAVE samples: uncompressed PCM in 8 or 16 bits, little-endian, with an
// optional "smpl" chunk for the root key and the first loop.

#include "common/byte_order.h"
#include "common/output.h"
#include "convert/samples/riff_chunks.h"
#include "convert/samples/sample_formats.h"

namespace convert {
namespace {

using common::Endian;

constexpr uint16_t kWavePcm = 1;
constexpr uint16_t kDefaultRootKey = 60;

SampleReadStatus readFormat(std::span<const uint8_t> file, const SampleReaderProfile& profile,
                            SampleRecord& record) {
  const auto fmt = findChunk(file, "fmt ", Endian::Little, profile.chunkSkip);
  common::ByteReader in(file, Endian::Little);
  if (fmt) in.seek(fmt->dataOffset);
  const uint16_t tag = in.u16();
  if (!fmt || !in.ok()) return SampleReadStatus::fail(kSampleFormatError, "Error locating `fmt ' chunk!");
  if (tag != kWavePcm) {
    return SampleReadStatus::fail(kSampleFormatError, common::format("Unsupported compression scheme (%d)!", tag));
  }
  record.channels = in.u16();
  record.rate = in.u32();
  in.skip(4);  // byte rate
  in.skip(2);  // block align
  record.bits = in.u16();
  if (!in.ok()) return SampleReadStatus::fail(kSampleFormatError, "Error locating `fmt ' chunk!");
  record.rootKey = kDefaultRootKey;
  record.loopStart = -1;
  record.loopEnd = -1;
  return SampleReadStatus::ok();
}

// The sampler chunk gives the root key and the first of its loops. A chunk
// cut short by the end of the file is ignored as a whole.
void readSampler(std::span<const uint8_t> file, const SampleReaderProfile& profile, SampleRecord& record) {
  const auto smpl = findChunk(file, "smpl", Endian::Little, profile.chunkSkip);
  if (!smpl) return;
  common::ByteReader in(file, Endian::Little);
  in.seek(smpl->dataOffset);
  in.skip(12);  // manufacturer, product, sample period
  const uint32_t unityNote = in.u32();
  in.skip(12);  // pitch fraction, SMPTE format and offset
  const uint32_t loopCount = in.u32();
  if (!in.ok()) return;
  if (loopCount == 0) {
    record.rootKey = uint16_t(unityNote);
    return;
  }
  in.skip(4);  // sampler data size
  in.skip(8);  // cue point identifier, loop type
  const uint32_t start = in.u32();
  const uint32_t end = in.u32();
  in.skip(4);  // fraction
  const uint32_t playCount = in.u32();
  if (!in.ok()) return;
  record.rootKey = uint16_t(unityNote);
  record.loopStart = int32_t(start);
  record.loopEnd = int32_t(end);
  record.loopCount = playCount == 0 ? -1 : int32_t(playCount);
  record.loopMode = LoopMode::kLoop;
}

SampleReadStatus readData(std::span<const uint8_t> file, const SampleReaderProfile& profile, SampleRecord& record) {
  const auto data = findChunk(file, "data", Endian::Little, profile.chunkSkip);
  if (!data) return SampleReadStatus::fail(kSampleFormatError, "Error locating `data' chunk!");
  const std::span<const uint8_t> bytes = chunkBytes(file, data->dataOffset, data->size);
  const uint32_t bytesPerSample = record.bits > 8 ? 2 : 1;
  record.dataLength = uint32_t(bytes.size());
  // A file that names no channels has no frames (instead of a division by 0).
  record.frames = record.channels == 0 ? 0 : record.dataLength / (bytesPerSample * record.channels);
  return storePcmSamples(bytes, Endian::Little, EightBitSamples::Unsigned, record);
}

}  // namespace

bool looksLikeWav(std::span<const uint8_t> file) { return hasFormHeader(file, "RIFF", "WAVE"); }

SampleReadStatus readWav(std::span<const uint8_t> file, const SampleReaderProfile& profile, SampleRecord& record) {
  if (SampleReadStatus s = readFormat(file, profile, record); s.code != kSampleReadOk) return s;
  readSampler(file, profile, record);
  return readData(file, profile, record);
}

}  // namespace convert
