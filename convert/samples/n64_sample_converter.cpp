#include "convert/samples/n64_sample_converter.h"

#include <algorithm>
#include <new>
#include <span>

#include "convert/samples/adpcm_encoder.h"
#include "convert/samples/codebook_design.h"

namespace convert {
namespace {

// Samples after the loop end that are cut off when there are this many or
// fewer: they would never be heard behind the loop.
constexpr uint32_t kLoopTailCut = 32;
// The coder reads this many samples beyond the sample's length.
constexpr uint32_t kLookAhead = 8;

// Loop start and length from the reader's loop. A loop end past the last
// sample is taken as the last sample; a loop that starts outside the
// sample or ends before it starts cannot be played and fails.
bool placeLoop(const SampleRecord& record, const std::string& name, N64WorkBuffer& work, common::Output& out) {
  if (!record.loops()) return true;
  const int64_t last = int64_t(work.length) - 1;
  const int64_t end = std::min<int64_t>(record.loopEnd, last);
  if (record.loopStart < 0 || record.loopStart > end) {
    out.print("*** Loop of sample file <%s> lies outside the sample data (start %d, end %d, length %u).\n",
              name.c_str(), record.loopStart, record.loopEnd, work.length);
    return false;
  }
  work.loopStart = uint32_t(record.loopStart);
  work.loopLength = uint32_t(end - record.loopStart + 1);
  if (work.length - work.loopStart - work.loopLength <= kLoopTailCut) work.length = work.loopStart + work.loopLength;
  return true;
}

// Copies the sample and fills the rest of the buffer: by repeating the loop
// when the loop reaches the end, else with the last sample (0 for an empty
// sample).
void fillWorkBuffer(std::span<const int16_t> samples, N64WorkBuffer& work) {
  work.samples.assign(n64WorkBufferSamples(work.length), 0);
  std::copy_n(samples.begin(), work.length, work.samples.begin());
  const bool loopReachesEnd = work.loopLength > 0 && work.loopStart + work.loopLength == work.length;
  for (size_t i = work.length; i < work.samples.size(); ++i) {
    if (loopReachesEnd) {
      work.samples[i] = work.samples[i - work.loopLength];
    } else {
      work.samples[i] = work.length > 0 ? work.samples[work.length - 1] : 0;
    }
  }
}

void printFormat(const SampleRecord& record, const N64WorkBuffer& work, common::Output& out) {
  if (work.loopLength > 0) {
    out.print("(len=%d, loop=%d, llen=%d, frq=%d, key=%d)\n", int(work.length), int(work.loopStart),
              int(work.loopLength), int(record.rate), int(record.rootKey));
  } else {
    out.print("(len=%d, frq=%d, key=%d)\n", int(work.length), int(record.rate), int(record.rootKey));
  }
}

void writeRaw(const N64WorkBuffer& work, common::ByteWriter& data) {
  for (uint32_t i = 0; i < work.length + kLookAhead; ++i) data.s16(work.samples[i]);
}

void writeAdaptive(const N64WorkBuffer& work, common::ByteWriter& data) {
  const std::span<const int16_t> buffer(work.samples);
  const Codebook book = designCodebook(buffer.first(work.length + kLookAhead));
  writeCodebook(data, book);
  const AdpcmEncoder encoder(book);
  const uint32_t blocks = n64BlockCount(work.length);
  for (uint32_t b = 0; b < blocks; ++b) {
    encoder.encodeBlock(
        std::span<const int16_t, kBlockSamples>(buffer.data() + size_t(b) * kBlockSamples, kBlockSamples), data);
  }
}

}  // namespace

bool convertRecordForN64(const SampleRecord& record, const std::string& name, int type, const N64SampleOptions& options,
                         N64ConvertedSample& result, common::Output& out) {
  result = {};
  if (record.bits != 16 || record.channels != 1) {
    out.write("*** Input samples must be 16-bit, mono format.\n");
    return false;
  }
  N64WorkBuffer work;
  const size_t available = std::min<size_t>(record.frames, record.samples16.size());
  if (available > kMaxSampleLength) {
    out.print("*** Sample file <%s> is too long (%zu samples; at most %u).\n", name.c_str(), available,
              kMaxSampleLength);
    return false;
  }
  work.length = uint32_t(available);
  if (!placeLoop(record, name, work, out)) return false;
  try {
    fillWorkBuffer(record.samples16, work);
  } catch (const std::bad_alloc&) {
    out.write("*** Could not allocate work memory for sample conversion.\n");
    return false;
  }
  if (options.verbose) printFormat(record, work, out);
  if (!options.targetIsN64) {
    out.write("*** Targetformat is not yet supported. No data has been written!\n");
    return false;
  }
  if (type != kSampleTypeAdaptive && type != kSampleTypeRaw && type != kSampleTypeAdaptiveAlt) {
    out.print("*** Sample type %d of sample file <%s> is not supported (0, 1 or 2).\n", type, name.c_str());
    return false;
  }
  const bool raw = type == kSampleTypeRaw;
  result.header.keyRate = SampleHeader::makeKeyRate(record.rootKey, record.rate);
  result.header.lengthType = SampleHeader::makeLengthType(work.length, raw ? kN64CodingRaw : kN64CodingAdaptive);
  result.header.loopStart = work.loopStart;
  result.header.loopLength = work.loopLength;
  common::ByteWriter data(options.endian);
  if (raw) {
    writeRaw(work, data);
  } else {
    writeAdaptive(work, data);
  }
  result.data = data.take();
  return true;
}

bool convertSampleFileForN64(const std::filesystem::path& file, SampleReader& reader, int type,
                             const N64SampleOptions& options, N64ConvertedSample& result, common::Output& out) {
  SampleRecord record;
  if (reader.readSample(file, record) != kSampleReadOk) {
    out.write("*** Could not read sample file.\n");
    out.print("*** %s\n", reader.lastError().c_str());  // names the file and the reason
    result = {};
    return false;
  }
  const bool ok = convertRecordForN64(record, file.string(), type, options, result, out);
  reader.freeSample(record);
  return ok;
}

}  // namespace convert
