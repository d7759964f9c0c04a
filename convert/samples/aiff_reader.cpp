// AIFF samples: big-endian PCM in 8 or 16 bits, with the root key and loop
// mode from "INST" and the loop points from "MARK".

#include "common/byte_order.h"
#include "common/output.h"
#include "convert/samples/aiff_rate.h"
#include "convert/samples/riff_chunks.h"
#include "convert/samples/sample_formats.h"

namespace convert {
namespace {

using common::Endian;

constexpr uint16_t kDefaultRootKey = 60;
constexpr size_t kExtendedSize = 10;

SampleReadStatus readCommon(std::span<const uint8_t> file, const SampleReaderProfile& profile,
                            SampleRecord& record) {
  const auto comm = findChunk(file, "COMM", Endian::Big, profile.chunkSkip);
  common::ByteReader in(file, Endian::Big);
  if (comm) in.seek(comm->dataOffset);
  record.channels = in.u16();
  record.frames = in.u32();
  record.bits = in.u16();
  const std::span<const uint8_t> rate = in.bytes(kExtendedSize);
  if (!comm || !in.ok()) return SampleReadStatus::fail(kSampleFormatError, "Error locating `COMM' chunk!");
  record.rate = aiffSampleRate(rate.data(), profile.aiffRate);
  record.rootKey = kDefaultRootKey;
  record.loopStart = -1;
  record.loopEnd = -1;
  return SampleReadStatus::ok();
}

// The instrument chunk: base note, then the sustain and release loops, each
// a play mode and the identifiers of its begin and end markers. A chunk cut
// short by the end of the file is ignored.
void readInstrument(std::span<const uint8_t> file, const SampleReaderProfile& profile, SampleRecord& record) {
  const auto inst = findChunk(file, "INST", Endian::Big, profile.chunkSkip);
  if (!inst) return;
  common::ByteReader in(file, Endian::Big);
  in.seek(inst->dataOffset);
  const uint8_t baseNote = in.u8();
  in.skip(5);  // detune, low and high note, low and high velocity
  in.skip(2);  // gain
  in.skip(4);  // sustain loop: play mode, begin marker
  const uint16_t sustainEnd = in.u16();
  in.skip(4);  // release loop: play mode, begin marker
  const uint16_t releaseEnd = in.u16();
  if (!in.ok()) return;
  record.rootKey = baseNote;
  if (sustainEnd != 0) {
    record.loopMode = releaseEnd != 0 ? LoopMode::kLoopWithRelease : LoopMode::kLoop;
    record.loopCount = -1;
  } else {
    record.loopMode = LoopMode::kNone;
    record.loopCount = 0;
  }
}

// The markers, taken in the order of the chunk: the first gives the loop
// start, the second the loop end (its position minus 1). Markers cut short by
// the end of the file end the list.
void readMarkers(std::span<const uint8_t> file, const SampleReaderProfile& profile, SampleRecord& record) {
  const auto mark = findChunk(file, "MARK", Endian::Big, profile.chunkSkip);
  if (!mark) return;
  common::ByteReader in(file, Endian::Big);
  in.seek(mark->dataOffset);
  const uint16_t count = in.u16();
  for (uint16_t i = 0; i < count && in.ok(); ++i) {
    in.skip(2);  // identifier
    const uint32_t position = in.u32();
    in.skip(in.u8());  // name as a counted string
    if (in.offset() % 2 != 0) in.skip(1);
    if (!in.ok()) return;
    if (i == 0) record.loopStart = int32_t(position);
    if (i == 1) record.loopEnd = int32_t(position - 1);
  }
}

SampleReadStatus readSoundData(std::span<const uint8_t> file, const SampleReaderProfile& profile,
                               SampleRecord& record) {
  const auto ssnd = findChunk(file, "SSND", Endian::Big, profile.chunkSkip);
  if (!ssnd) return SampleReadStatus::fail(kSampleFormatError, "Error locating `SSND' chunk!");
  // The offset and block size fields are skipped; the data follows them.
  const uint64_t announced = ssnd->size >= 8 ? ssnd->size - 8u : 0;
  const std::span<const uint8_t> bytes = chunkBytes(file, ssnd->dataOffset + 8, announced);
  record.dataLength = uint32_t(bytes.size());
  return storePcmSamples(bytes, Endian::Big, EightBitSamples::Signed, record);
}

}  // namespace

bool looksLikeAiff(std::span<const uint8_t> file) { return hasFormHeader(file, "FORM", "AIFF"); }

SampleReadStatus readAiff(std::span<const uint8_t> file, const SampleReaderProfile& profile, SampleRecord& record) {
  if (SampleReadStatus s = readCommon(file, profile, record); s.code != kSampleReadOk) return s;
  readInstrument(file, profile, record);
  readMarkers(file, profile, record);
  return readSoundData(file, profile, record);
}

}  // namespace convert
