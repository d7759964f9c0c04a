// AIFF samples: big-endian PCM in 8 or 16 bits, with the root key and loop
// mode from "INST" and the loop points from "MARK".

#include <algorithm>

#include "common/byte_order.h"
#include "common/output.h"
#include "common/riff.h"
#include "convert/samples/aiff_rate.h"
#include "convert/samples/pcm_samples.h"
#include "convert/samples/sample_formats.h"

namespace convert {
namespace {

using common::Endian;
namespace riff = common::riff;

constexpr uint16_t kDefaultRootKey = 60;
constexpr size_t kExtendedSize = 10;

SampleReadStatus readCommon(const riff::FileChunks& chunks, SampleReaderProfile::AiffRate rateRule,
                            SampleRecord& record) {
  const auto comm = chunks.find("COMM");
  common::ByteReader in(comm ? chunks.rest(*comm) : std::span<const uint8_t>(), Endian::Big);
  record.channels = in.u16();
  record.frames = in.u32();
  record.bits = in.u16();
  const std::span<const uint8_t> rate = in.bytes(kExtendedSize);
  if (!comm || !in.ok()) return SampleReadStatus::fail(kSampleFormatError, "Error locating `COMM' chunk!");
  record.rate = aiffSampleRate(rate.data(), rateRule);
  record.rootKey = kDefaultRootKey;
  record.loopStart = -1;
  record.loopEnd = -1;
  return SampleReadStatus::ok();
}

// The instrument chunk: base note, then the sustain and release loops, each
// a play mode and the identifiers of its begin and end markers. A chunk cut
// short by the end of the file is ignored.
void readInstrument(const riff::FileChunks& chunks, SampleRecord& record) {
  const auto inst = chunks.find("INST");
  if (!inst) return;
  common::ByteReader in(chunks.rest(*inst), Endian::Big);
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
void readMarkers(const riff::FileChunks& chunks, SampleRecord& record) {
  const auto mark = chunks.find("MARK");
  if (!mark) return;
  common::ByteReader in(chunks.rest(*mark), Endian::Big);
  const uint16_t count = in.u16();
  for (uint16_t i = 0; i < count && in.ok(); ++i) {
    in.skip(2);  // identifier
    const uint32_t position = in.u32();
    in.skip(in.u8());                                             // name as a counted string
    if ((mark->dataOffset() + in.offset()) % 2 != 0) in.skip(1);  // the file position is odd
    if (!in.ok()) return;
    if (i == 0) record.loopStart = int32_t(position);
    if (i == 1) record.loopEnd = int32_t(position - 1);
  }
}

SampleReadStatus readSoundData(const riff::FileChunks& chunks, SampleRecord& record) {
  const auto ssnd = chunks.find("SSND");
  if (!ssnd) return SampleReadStatus::fail(kSampleFormatError, "Error locating `SSND' chunk!");
  // The offset and block size fields are skipped; the data follows them.
  const uint64_t announced = ssnd->size >= 8 ? ssnd->size - 8u : 0;
  const std::span<const uint8_t> rest = chunks.rest(*ssnd).subspan(std::min<size_t>(8, chunks.rest(*ssnd).size()));
  const std::span<const uint8_t> bytes = rest.first(size_t(std::min<uint64_t>(announced, rest.size())));
  record.dataLength = uint32_t(bytes.size());
  return storePcmSamples(bytes, Endian::Big, EightBitSamples::Signed, record);
}

}  // namespace

bool looksLikeAiff(std::span<const uint8_t> file) { return riff::hasFormHeader(file, "FORM", "AIFF"); }

SampleReadStatus readAiff(std::span<const uint8_t> file, const SampleReaderProfile& profile, SampleRecord& record) {
  const riff::FileChunks chunks(file, {Endian::Big, profile.chunkSkip});
  if (SampleReadStatus s = readCommon(chunks, profile.aiffRate, record); s.code != kSampleReadOk) return s;
  readInstrument(chunks, record);
  readMarkers(chunks, record);
  return readSoundData(chunks, record);
}

}  // namespace convert
