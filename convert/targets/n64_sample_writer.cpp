// The sample pair: ".sdir" holds one 28-byte entry per sample in increasing
// ID order (u16 ID, u16 0, u32 offset into ".samp", u32 0, the four header
// words), ended by u32 0xFFFFFFFF; ".samp" holds each sample's book and
// blocks (or raw samples), padded with zeros to 8 bytes.
#include <set>

#include "common/byte_order.h"
#include "common/file_io.h"
#include "convert/conversion.h"
#include "convert/foundation/project_file.h"
#include "convert/samples/sample_batch.h"
#include "convert/targets/n64_writer.h"

namespace voconv {
namespace {

using common::ByteWriter;

convert::SampleReaderProfile readerProfile(const ReleaseProfile& release) {
  return &release == &release115() ? convert::SampleReaderProfile::release115()
                                   : convert::SampleReaderProfile::current();
}

// The samples this project writes: flagged, not on the group stack, each ID
// once, in increasing order.
std::set<uint16_t> samplesToWrite(Conversion& c, const ReferenceLists& refs) {
  const std::set<uint16_t> stack = groupNumbers(c.model, c.description.sampleStackGroups);
  std::set<uint16_t> ids;
  for (const Reference& r : refs.samples.entries()) {
    if (r.write && !refs.samples.onStack(r.id, stack)) ids.insert(r.id);
  }
  return ids;
}

// Converts every sample that the model knows, on all cores; the results
// come back in ID order, the same as on one thread.
std::vector<convert::N64SampleOutcome> convertAll(Conversion& c, const std::set<uint16_t>& ids, bool nintendo64) {
  std::vector<convert::N64SampleJob> jobs;
  for (uint16_t id : ids) {
    if (const SampleRecord* sample = c.model.samples.find(id)) {
      const int type = c.settings.defaultSampleTypeOnly ? int(convert::kSampleTypeAdaptive) : int(sample->type);
      jobs.push_back({c.basePaths.resolve(sample->fileName), type});
    }
  }
  convert::N64SampleOptions options;
  options.verbose = c.verbose();
  options.endian = c.endian();
  options.targetIsN64 = nintendo64;
  return convert::convertSamplesForN64(jobs, options, readerProfile(c.release));
}

bool commit(Conversion& c, common::SafeFileWriter& file, const ByteWriter& bytes, const char* message) {
  if (file.write(bytes.data()) && file.commit()) return true;
  c.out.print("%s\n", message);
  c.out.print("*** %s\n", file.error().c_str());
  return false;
}

// One directory entry and the sample's data. A failed sample keeps a whole
// entry (length 0), so that the directory stays readable; the run ends with
// a failure all the same. Returns the sample's result.
bool writeEntry(Conversion& c, uint16_t id, const convert::N64SampleOutcome* outcome, ByteWriter& directory,
                ByteWriter& data) {
  directory.u16(id);
  directory.u16(0);
  directory.u32(uint32_t(data.size()));
  directory.u32(0);
  convert::SampleHeader header;  // stays zero for a sample that failed
  const SampleRecord* sample = c.model.samples.find(id);
  bool ok = false;
  if (!sample || !outcome) {
    c.out.print("*** Referenced sample %d not found in project data.\n", id);
  } else {
    // Always shown, so that every conversion message follows the name of its sample.
    c.out.print("Including sample file <%s> for ID %d...\n", sample->fileName.c_str(), id);
    c.out.write(outcome->messages);
    ok = outcome->ok;
    if (!ok && refusedAsSampleFile(c.basePaths.resolve(sample->fileName))) {
      c.out.print("*** In <%s>, line %d.\n", sample->scriptName.c_str(), sample->line);
    }
    if (ok) {
      header = outcome->sample.header;
      data.bytes(outcome->sample.data);
      data.padTo(8);
    }
  }
  header.write(directory);
  if (!ok) c.reportFailure();
  return ok;
}

}  // namespace

bool writeN64Samples(Conversion& c, const ReferenceLists& refs, bool nintendo64) {
  common::SafeFileWriter dataFile(c.program), directoryFile(c.program);
  if (!dataFile.open(c.description.outputFile(".samp"))) {
    c.out.print("*** Could not write sample data.\n");
    c.out.print("*** %s\n", dataFile.error().c_str());
    return false;
  }
  if (!directoryFile.open(c.description.outputFile(".sdir"))) {
    dataFile.abandon();
    c.out.print("*** Could not write sample directory.\n");
    c.out.print("*** %s\n", directoryFile.error().c_str());
    return false;
  }
  const std::set<uint16_t> ids = samplesToWrite(c, refs);
  const std::vector<convert::N64SampleOutcome> outcomes = convertAll(c, ids, nintendo64);
  ByteWriter directory(c.endian()), data(c.endian());
  bool lastOk = true;  // the step's result is that of the last sample
  size_t next = 0;
  for (uint16_t id : ids) {
    const bool known = c.model.samples.find(id) != nullptr;
    lastOk = writeEntry(c, id, known ? &outcomes[next++] : nullptr, directory, data);
  }
  directory.u32(0xFFFFFFFF);
  if (!commit(c, dataFile, data, "*** Could not write sample data.")) return false;
  if (!commit(c, directoryFile, directory, "*** Could not write sample directory.")) return false;
  return lastOk;
}

}  // namespace voconv
