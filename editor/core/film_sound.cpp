#include "film_sound.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "common/byte_order.h"
#include "common/output.h"
#include "common/paths.h"

namespace vtq {
namespace {

using common::Endian;

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;
// WAVE_FORMAT_EXTENSIBLE's sub-format GUID: the format tag, then this tail.
constexpr uint8_t kGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                   0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
// The bext chunk: description (256), originator (32), its reference (32),
// date (10) and time (8), then the 64-bit time reference as two 32-bit halves.
constexpr uint32_t kBextTimeReference = 338;

bool sameId(const uint8_t* id, const char* text) { return std::memcmp(id, text, 4) == 0; }

class HeaderParser {
 public:
  HeaderParser(const ByteSource& source, uint64_t fileSize, std::string& error)
      : source_(source), fileSize_(fileSize), error_(error) {}

  std::optional<FilmSoundFormat> parse();

 private:
  bool fail(uint64_t at, const std::string& reason) {
    error_ = common::format("at byte %llu: %s", (unsigned long long)at, reason.c_str());
    return false;
  }
  bool read(uint64_t at, uint8_t* data, size_t count) { return source_(at, std::span<uint8_t>(data, count)) == count; }
  bool readFormat(uint64_t at, uint32_t size);
  void readBext(uint64_t at, uint32_t size);

  const ByteSource& source_;
  uint64_t fileSize_;
  std::string& error_;
  FilmSoundFormat format_;
};

bool HeaderParser::readFormat(uint64_t at, uint32_t size) {
  if (size < 16) return fail(at, common::format("the fmt chunk has %u bytes, fewer than 16", size));
  uint8_t fmt[40] = {};
  if (!read(at, fmt, std::min<uint32_t>(size, sizeof fmt))) return fail(at, "the file ends in its fmt chunk");
  uint16_t tag = common::loadU16(fmt, Endian::Little);
  format_.channels = common::loadU16(fmt + 2, Endian::Little);
  format_.sampleRate = common::loadU32(fmt + 4, Endian::Little);
  format_.blockAlign = common::loadU16(fmt + 12, Endian::Little);
  format_.bitsPerSample = common::loadU16(fmt + 14, Endian::Little);
  if (tag == kFormatExtensible) {
    if (size < 40 || !std::equal(kGuidTail, kGuidTail + 14, fmt + 26))
      return fail(at, "the WAVE_FORMAT_EXTENSIBLE fmt chunk has no known sub-format");
    tag = common::loadU16(fmt + 24, Endian::Little);
  }
  if (tag == kFormatFloat) return fail(at, "float samples are not supported: save the sound as 16 or 24-bit PCM");
  if (tag != kFormatPcm) return fail(at, common::format("format %u is not PCM", unsigned(tag)));
  if (format_.bitsPerSample != 16 && format_.bitsPerSample != 24)
    return fail(at, common::format("%u-bit samples are not supported: save the sound as 16 or 24-bit PCM",
                                   unsigned(format_.bitsPerSample)));
  if (format_.channels == 0 || format_.blockAlign != format_.channels * (format_.bitsPerSample / 8))
    return fail(at, common::format("%u channels do not fit a block of %u bytes", unsigned(format_.channels),
                                   unsigned(format_.blockAlign)));
  if (format_.sampleRate != 44100 && format_.sampleRate != 48000)
    return fail(at, common::format("the sample rate %u Hz is not 44100 or 48000 Hz", format_.sampleRate));
  return true;
}

void HeaderParser::readBext(uint64_t at, uint32_t size) {
  // A bext chunk too short for its time reference carries none.
  uint8_t reference[8];
  if (size < kBextTimeReference + 8 || !read(at + kBextTimeReference, reference, 8)) return;
  format_.timeReference =
      uint64_t(common::loadU32(reference, Endian::Little)) | uint64_t(common::loadU32(reference + 4, Endian::Little)) << 32;
}

std::optional<FilmSoundFormat> HeaderParser::parse() {
  uint8_t riff[12];
  if (!read(0, riff, 12)) return fail(0, "the file is too short for a wave file"), std::nullopt;
  if (sameId(riff, "RF64") || sameId(riff, "BW64"))
    return fail(0, "RF64 wave files are not supported: save the sound as a RIFF wave file (up to 4 GiB)"), std::nullopt;
  if (!sameId(riff, "RIFF") || !sameId(riff + 8, "WAVE")) return fail(0, "not a RIFF/WAVE file"), std::nullopt;
  bool haveFormat = false;
  for (uint64_t at = 12;;) {
    uint8_t chunk[8];
    if (!read(at, chunk, 8)) return fail(at, haveFormat ? "no data chunk" : "no fmt chunk"), std::nullopt;
    const uint32_t size = common::loadU32(chunk + 4, Endian::Little);
    const uint64_t body = at + 8;
    if (sameId(chunk, "fmt ")) {
      if (!readFormat(body, size)) return std::nullopt;
      haveFormat = true;
    } else if (sameId(chunk, "bext")) {
      readBext(body, size);
    } else if (sameId(chunk, "data")) {
      if (!haveFormat) return fail(at, "the data chunk comes before the fmt chunk"), std::nullopt;
      format_.dataOffset = body;
      const uint64_t present = fileSize_ > body ? fileSize_ - body : 0;
      format_.frameCount = std::min<uint64_t>(size, present) / format_.blockAlign;
      return format_;
    }
    at = body + size + (size & 1);
    if (at > fileSize_) return fail(body, "the file ends inside a chunk"), std::nullopt;
  }
}

// Sums the samples of `channel` (or all) of `frames` frames of raw data.
template <int Bytes>
void decodeFrames(const uint8_t* raw, size_t frames, const FilmSoundFormat& format, ChannelChoice channel,
                  int32_t* out) {
  const size_t block = format.blockAlign;
  const uint16_t first = channel.value_or(0);
  const uint16_t count = channel ? 1 : format.channels;
  for (size_t f = 0; f < frames; ++f, raw += block) {
    int32_t sum = 0;
    for (uint16_t c = first; c < first + count; ++c) {
      const uint8_t* s = raw + Bytes * c;
      if constexpr (Bytes == 2) {
        sum += int16_t(uint16_t(s[0] | s[1] << 8));
      } else {
        sum += int32_t(uint32_t(s[0]) << 8 | uint32_t(s[1]) << 16 | uint32_t(s[2]) << 24) >> 8;
      }
    }
    out[f] = sum;
  }
}

}  // namespace

std::optional<FilmSoundFormat> parseFilmSoundHeader(const ByteSource& source, uint64_t fileSize, std::string& error) {
  return HeaderParser(source, fileSize, error).parse();
}

CSMPTETime filmSoundStart(const FilmSoundFormat& format) {
  if (!format.timeReference || format.sampleRate == 0) return CSMPTETime();
  const uint64_t frames = *format.timeReference / format.sampleRate * CSMPTETime::kFramesPerSecond +
                          *format.timeReference % format.sampleRate * CSMPTETime::kFramesPerSecond / format.sampleRate;
  return CSMPTETime(uint32_t(frames % uint64_t(CSMPTETime::kFramesPerDay)));
}

FilmSound::~FilmSound() {
  if (fd_ >= 0) ::close(fd_);
}

bool FilmSound::open(const std::filesystem::path& path) {
  path_ = path;
  const std::string name = common::displayPath(path);
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error_ = name + ": " + std::strerror(errno);
    return false;
  }
  const off_t size = ::lseek(fd, 0, SEEK_END);
  const ByteSource source = [fd](uint64_t at, std::span<uint8_t> into) {
    const ssize_t got = ::pread(fd, into.data(), into.size(), off_t(at));
    return got < 0 ? size_t(0) : size_t(got);
  };
  std::string reason;
  const auto format = size < 0 ? std::nullopt : parseFilmSoundHeader(source, uint64_t(size), reason);
  if (!format) {
    error_ = name + ": " + (size < 0 ? std::string("not a regular file") : reason);
    ::close(fd);
    return false;
  }
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
  format_ = *format;
  return true;
}

double FilmSound::fullScale(ChannelChoice channel) const {
  const double one = format_.bitsPerSample == 24 ? 8388608.0 : 32768.0;
  return channel ? one : one * format_.channels;
}

size_t FilmSound::readRaw(uint64_t first, size_t frames, std::vector<uint8_t>& raw) const {
  if (fd_ < 0 || first >= format_.frameCount) return 0;
  frames = size_t(std::min<uint64_t>(frames, format_.frameCount - first));
  raw.resize(frames * format_.blockAlign);
  size_t done = 0;
  while (done < raw.size()) {
    const ssize_t got = ::pread(fd_, raw.data() + done, raw.size() - done,
                                off_t(format_.dataOffset + first * format_.blockAlign + done));
    if (got <= 0) break;
    done += size_t(got);
  }
  return done / format_.blockAlign;
}

size_t FilmSound::readFrames(uint64_t first, std::span<int32_t> out, ChannelChoice channel) const {
  if (channel && *channel >= format_.channels) return 0;
  thread_local std::vector<uint8_t> raw;
  const size_t got = readRaw(first, out.size(), raw);
  if (format_.bitsPerSample == 16) {
    decodeFrames<2>(raw.data(), got, format_, channel, out.data());
  } else {
    decodeFrames<3>(raw.data(), got, format_, channel, out.data());
  }
  return got;
}

size_t FilmSound::readInterleaved(uint64_t first, size_t frames, std::vector<float>& out) const {
  thread_local std::vector<uint8_t> raw;
  const size_t got = readRaw(first, frames, raw);
  const size_t samples = got * format_.channels;
  out.resize(samples);
  const bool wide = format_.bitsPerSample == 24;
  for (size_t i = 0; i < samples; ++i) {
    const uint8_t* s = raw.data() + i * (wide ? 3 : 2);
    out[i] = wide ? float(int32_t(uint32_t(s[0]) << 8 | uint32_t(s[1]) << 16 | uint32_t(s[2]) << 24) >> 8) / 8388608.0f
                  : float(int16_t(uint16_t(s[0] | s[1] << 8))) / 32768.0f;
  }
  return got;
}

}  // namespace vtq
