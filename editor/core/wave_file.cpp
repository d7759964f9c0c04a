#include "wave_file.h"

#include "common/output.h"
#include "common/paths.h"
#include "common/riff.h"

namespace vtq {

CWaveFile::~CWaveFile() {
  if (writing_) close();
}

int CWaveFile::fail(int result, std::string message) {
  error_ = std::move(message);
  return result;
}

int CWaveFile::openForWrite(const std::filesystem::path& path, uint32_t sampleRate, uint16_t bits, uint16_t channels) {
  if (writing_) return fail(kWrongState, "a wave file is already open");
  if ((bits != 8 && bits != 16) || (channels != 1 && channels != 2))
    return fail(kWrongState, common::format("cannot write %s: %u bits and %u channels are not supported",
                                            common::displayPath(path).c_str(), unsigned(bits), unsigned(channels)));
  if (!file_.open(path)) return fail(kFileError, file_.error());
  inMemory_ = false;
  return begin(sampleRate, bits, channels);
}

int CWaveFile::openInMemory(uint32_t sampleRate, uint16_t bits, uint16_t channels) {
  if (writing_) return fail(kWrongState, "a wave file is already open");
  if ((bits != 8 && bits != 16) || (channels != 1 && channels != 2))
    return fail(kWrongState,
                common::format("%u bits and %u channels are not supported", unsigned(bits), unsigned(channels)));
  inMemory_ = true;
  return begin(sampleRate, bits, channels);
}

int CWaveFile::begin(uint32_t sampleRate, uint16_t bits, uint16_t channels) {
  bits_ = bits;
  buffer_ = common::ByteWriter(common::Endian::Little);
  common::riff::writePcmHeader(buffer_, common::riff::pcmFormat(sampleRate, bits, channels), 0);
  writing_ = true;
  error_.clear();
  return kOk;
}

int CWaveFile::writeSample(int16_t sample) {
  if (!writing_) return kWrongState;
  if (bits_ == 8) {
    buffer_.u8(uint8_t(sample));
  } else {
    buffer_.s16(sample);
  }
  return kOk;
}

int CWaveFile::writeSamples(std::span<const int16_t> samples) {
  if (!writing_ || bits_ != 16) return kWrongState;
  for (int16_t s : samples) buffer_.s16(s);
  return kOk;
}

int CWaveFile::writeSampleBytes(std::span<const uint8_t> bytes) {
  if (!writing_) return kWrongState;
  buffer_.bytes(bytes);
  return kOk;
}

int CWaveFile::writeSilence(size_t sampleCount) {
  if (!writing_) return kWrongState;
  buffer_.zeros(sampleCount * (bits_ / 8));
  return kOk;
}

int CWaveFile::close() {
  if (!writing_) return kWrongState;
  writing_ = false;
  const size_t total = buffer_.size();
  if (total > 0xFFFFFFFFu) {
    if (!inMemory_) file_.abandon();
    return fail(kFileError, "cannot write " + common::displayPath(file_.target()) + ": more than 4 GB of samples");
  }
  common::riff::patchPcmSizes(buffer_, uint32_t(total - kHeaderSize));
  if (inMemory_) {
    memory_ = buffer_.take();
    return kOk;
  }
  const std::vector<uint8_t> bytes = buffer_.take();
  if (!file_.write(bytes) || !file_.commit()) return fail(kFileError, file_.error());
  return kOk;
}

}  // namespace vtq
