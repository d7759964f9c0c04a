#include "convert/targets/handheld_sample_loading.h"

#include <algorithm>

#include "common/byte_order.h"
#include "convert/conversion.h"
#include "convert/samples/sample_header.h"

namespace voconv {
namespace {

struct Placement {
  uint32_t length = 0;
  uint32_t loopStart = 0;
  uint32_t loopLength = 0;  // 0: no loop
};

// Length and loop of the sample: a loop end past the last sample is taken
// as the last sample, and a looped sample ends with its loop. A loop that
// starts outside the sample or ends before it starts cannot be played.
bool place(const convert::SampleRecord& s, std::size_t available, const std::string& name, Placement& p,
           common::Output& out) {
  if (available > convert::kMaxSampleLength) {
    out.print("*** Sample file <%s> is too long (%zu samples; at most %u).\n", name.c_str(), available,
              convert::kMaxSampleLength);
    return false;
  }
  p.length = uint32_t(available);
  if (!s.loops()) return true;
  const int64_t end = std::min<int64_t>(s.loopEnd, int64_t(p.length) - 1);
  if (s.loopStart < 0 || s.loopStart > end) {
    out.print("*** Loop of sample file <%s> lies outside the sample data (start %d, end %d, length %u).\n",
              name.c_str(), s.loopStart, s.loopEnd, p.length);
    return false;
  }
  p.loopStart = uint32_t(s.loopStart);
  p.loopLength = uint32_t(end - s.loopStart + 1);
  p.length = p.loopStart + p.loopLength;
  return true;
}

// 8-bit samples are widened by shifting each byte left by 8.
int16_t sampleAt(const convert::SampleRecord& s, std::size_t i) {
  return s.bits == 16 ? s.samples16[i] : int16_t(uint16_t(uint8_t(s.samples8[i])) << 8);
}

}  // namespace

HandheldSampleLoader::HandheldSampleLoader(Conversion& c)
    : c_(c),
      release115_(&c.release == &release115()),
      reader_(release115_ ? convert::SampleReaderProfile::release115() : convert::SampleReaderProfile::current()) {}

bool HandheldSampleLoader::load(uint16_t id) {
  const SampleRecord* sample = c_.model.samples.find(id);
  if (!sample) {
    c_.out.print("*** Referenced sample %d not found in project data.\n", id);
    return false;
  }
  c_.verbosePrint("Including sample file <%s> for ID %d...\n", sample->fileName.c_str(), id);
  convert::SampleRecord s;
  const int read = reader_.readSample(c_.basePaths.resolve(sample->fileName), s);
  if (read == convert::kSampleNotReadable) {
    c_.out.print("*** %s\n*** In <%s>, line %d.\n", reader_.lastError().c_str(), sample->scriptName.c_str(),
                 sample->line);
    return false;
  }
  if (read != convert::kSampleReadOk) {
    if (!release115_) {
      c_.out.print("*** Referenced sample \"%s\" (id=%d) not found in project data.\n", sample->fileName.c_str(), id);
      c_.out.print("*** %s\n", reader_.lastError().c_str());
    }
    return false;
  }
  if (s.channels != 1 || (release115_ && s.bits != 16)) {
    c_.out.print(release115_ ? "*** Input samples must be 16-bit, mono format.\n"
                             : "*** Input samples must be mono format.\n");
    return false;
  }
  const std::size_t data = s.bits == 16 ? s.samples16.size() : s.samples8.size();
  Placement p;
  if (!place(s, std::min<std::size_t>(s.frames, data), sample->fileName, p, c_.out)) return false;
  if (p.loopLength > 0) {
    c_.verbosePrint("(len=%d, loop=%d, llen=%d, frq=%d, key=%d)\n", int(p.length), int(p.loopStart), int(p.loopLength),
                    int(s.rate), int(s.rootKey));
  } else {
    c_.verbosePrint("(len=%d, frq=%d, key=%d)\n", int(p.length), int(s.rate), int(s.rootKey));
  }
  common::ByteWriter w(common::Endian::Little);
  using convert::SampleHeader;
  SampleHeader{SampleHeader::makeKeyRate(s.rootKey, s.rate), SampleHeader::makeLengthType(p.length, sample->type),
               p.loopStart, p.loopLength}
      .write(w);
  for (std::size_t i = 0; i < p.length; ++i) w.s16(sampleAt(s, i));
  c_.targetObjects.add(TargetObjectType::Sample, id, 0).payload = w.take();
  return true;
}

}  // namespace voconv
