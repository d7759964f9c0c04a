// RIFF WAVE samples: uncompressed PCM in 8 or 16 bits, little-endian, with an
// optional "smpl" chunk for the root key and the first loop.

#include "common/byte_order.h"
#include "common/output.h"
#include "common/riff.h"
#include "convert/samples/pcm_samples.h"
#include "convert/samples/sample_formats.h"

namespace convert {
namespace {

using common::Endian;
namespace riff = common::riff;

constexpr uint16_t kDefaultRootKey = 60;

// The fields are taken from the chunk's data on, whatever size the chunk
// states; the tag is judged before the rest of the record is known to fit.
SampleReadStatus readFormat(const riff::FileChunks& chunks, SampleRecord& record) {
  const auto fmt = chunks.find("fmt ");
  const std::span<const uint8_t> data = fmt ? chunks.rest(*fmt) : std::span<const uint8_t>();
  if (data.size() < 2) return SampleReadStatus::fail(kSampleFormatError, "Error locating `fmt ' chunk!");
  const uint16_t tag = common::loadU16(data.data(), Endian::Little);
  if (tag != riff::kFormatPcm) {
    return SampleReadStatus::fail(kSampleFormatError, common::format("Unsupported compression scheme (%d)!", tag));
  }
  const auto format = riff::parseWaveFormat(data, fmt->dataOffset());
  if (!format) return SampleReadStatus::fail(kSampleFormatError, "Error locating `fmt ' chunk!");
  record.channels = format->channels;
  record.rate = format->sampleRate;
  record.bits = format->bitsPerSample;
  record.rootKey = kDefaultRootKey;
  record.loopStart = -1;
  record.loopEnd = -1;
  return SampleReadStatus::ok();
}

// The sampler chunk gives the root key and the first of its loops. A chunk
// cut short by the end of the file is ignored as a whole.
void readSampler(const riff::FileChunks& chunks, SampleRecord& record) {
  const auto smpl = chunks.find("smpl");
  if (!smpl) return;
  common::ByteReader in(chunks.rest(*smpl), Endian::Little);
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

SampleReadStatus readData(const riff::FileChunks& chunks, SampleRecord& record) {
  const auto data = chunks.find("data");
  if (!data) return SampleReadStatus::fail(kSampleFormatError, "Error locating `data' chunk!");
  const std::span<const uint8_t> bytes = chunks.body(*data);
  const uint32_t bytesPerSample = record.bits > 8 ? 2 : 1;
  record.dataLength = uint32_t(bytes.size());
  // A file that names no channels has no frames (instead of a division by 0).
  record.frames = record.channels == 0 ? 0 : record.dataLength / (bytesPerSample * record.channels);
  return storePcmSamples(bytes, Endian::Little, EightBitSamples::Unsigned, record);
}

}  // namespace

bool looksLikeWav(std::span<const uint8_t> file) { return riff::hasFormHeader(file, "RIFF", "WAVE"); }

SampleReadStatus readWav(std::span<const uint8_t> file, const SampleReaderProfile& profile, SampleRecord& record) {
  const riff::FileChunks chunks(file, {Endian::Little, profile.chunkSkip});
  if (SampleReadStatus s = readFormat(chunks, record); s.code != kSampleReadOk) return s;
  readSampler(chunks, record);
  return readData(chunks, record);
}

}  // namespace convert
