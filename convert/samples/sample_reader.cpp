#include "convert/samples/sample_reader.h"

#include <new>
#include <vector>

#include "common/file_io.h"
#include "common/output.h"
#include "convert/samples/sample_formats.h"

namespace convert {

int SampleReader::readSample(const std::filesystem::path& path, SampleRecord& record) {
  const std::string name = path.string();
  std::vector<uint8_t> file;
  std::string ioError;
  common::RegularFileRead read = common::RegularFileRead::CannotOpen;
  try {
    read = common::readRegularFile(path, file, ioError, kMaxSampleFileSize);
  } catch (const std::bad_alloc&) {
    record = SampleRecord{};
    return finish(SampleReadStatus::fail(kSampleOutOfMemory, "Out of memory!"), record);
  }
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) read = common::RegularFileRead::CannotOpen;  // named as missing
  if (read == common::RegularFileRead::NotRegular || read == common::RegularFileRead::TooLarge) {
    record = SampleRecord{};
    const char* what = read == common::RegularFileRead::TooLarge ? "is larger than 256 MB" : "is not a regular file";
    return finish(SampleReadStatus::fail(kSampleNotReadable, common::format("File `%s' %s!", name.c_str(), what)),
                  record);
  }
  if (read != common::RegularFileRead::Ok) {
    record = SampleRecord{};
    return finish(SampleReadStatus::fail(kSampleFileNotFound, common::format("File `%s' not found!", name.c_str())),
                  record);
  }
  return readSampleBytes(file, name, record);
}

int SampleReader::readSampleBytes(std::span<const uint8_t> file, const std::string& name, SampleRecord& record) {
  lastError_.clear();
  record = SampleRecord{};
  // Detection order: AIFF, WAV, KALP. An AIFF-C file ("FORM" ... "AIFC")
  // matches none of them.
  if (looksLikeAiff(file)) return finish(readAiff(file, profile_, record), record);
  if (looksLikeWav(file)) return finish(readWav(file, profile_, record), record);
  if (looksLikeKalp(file)) return finish(readKalp(file, record), record);
  return finish(
      SampleReadStatus::fail(kSampleUnknownType, common::format("File `%s' is of an unknown type!", name.c_str())),
      record);
}

void SampleReader::freeSample(SampleRecord& record) {
  record.samples16 = {};
  record.samples8 = {};
  lastError_.clear();
}

int SampleReader::finish(const SampleReadStatus& status, SampleRecord& record) {
  lastError_ = status.text;
  // A failed read leaves an empty record, not the fields read before the
  // failure.
  if (status.code != kSampleReadOk) record = SampleRecord{};
  return status.code;
}

}  // namespace convert
