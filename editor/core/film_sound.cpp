#include "film_sound.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "common/byte_order.h"
#include "common/output.h"
#include "common/paths.h"
#include "common/riff.h"

namespace vtq {
namespace {

namespace riff = common::riff;

// The format record as the timeline reads it: PCM, 16 or 24 bits, whole
// blocks, a rate the toy's transmissions have.
bool checkFormat(const riff::WaveFormat& f, uint64_t at, std::string& error) {
  const auto fail = [&](const std::string& reason) {
    error = common::format("at byte %llu: %s", (unsigned long long)at, reason.c_str());
    return false;
  };
  uint16_t tag = f.tag;
  if (tag == riff::kFormatExtensible) {
    if (!f.subFormatTag()) return fail("the WAVE_FORMAT_EXTENSIBLE fmt chunk has no known sub-format");
    tag = *f.subFormatTag();
  }
  if (tag == riff::kFormatFloat) return fail("float samples are not supported: save the sound as 16 or 24-bit PCM");
  if (tag != riff::kFormatPcm) return fail(common::format("format %u is not PCM", unsigned(tag)));
  if (f.bitsPerSample != 16 && f.bitsPerSample != 24)
    return fail(common::format("%u-bit samples are not supported: save the sound as 16 or 24-bit PCM",
                               unsigned(f.bitsPerSample)));
  if (f.channels == 0 || f.blockAlign != f.channels * (f.bitsPerSample / 8))
    return fail(
        common::format("%u channels do not fit a block of %u bytes", unsigned(f.channels), unsigned(f.blockAlign)));
  if (f.sampleRate != 44100 && f.sampleRate != 48000)
    return fail(common::format("the sample rate %u Hz is not 44100 or 48000 Hz", f.sampleRate));
  return true;
}

std::optional<FilmSoundFormat> parseHeader(std::istream& in, uint64_t fileSize, std::string& error) {
  riff::StreamChunks chunks(in, riff::kWaveRules);
  const auto fail = [&](uint64_t at, const char* reason) {
    error = common::format("at byte %llu: %s", (unsigned long long)at, reason);
    return std::nullopt;
  };
  const std::optional<riff::FormHeader> form = chunks.readForm();
  if (!form) return fail(0, "the file is too short for a wave file");
  if (form->is("RF64", "WAVE") || form->is("BW64", "WAVE"))
    return fail(0, "RF64 wave files are not supported: save the sound as a RIFF wave file (up to 4 GiB)");
  if (!form->is("RIFF", "WAVE")) return fail(0, "not a RIFF/WAVE file");
  FilmSoundFormat format;
  bool haveFormat = false;
  while (const std::optional<riff::ChunkHeader> chunk = chunks.next()) {
    if (chunk->is("data")) {
      if (!haveFormat) return fail(chunk->offset, "the data chunk comes before the fmt chunk");
      format.dataOffset = chunk->dataOffset();
      const uint64_t present = fileSize > format.dataOffset ? fileSize - format.dataOffset : 0;
      format.frameCount = std::min<uint64_t>(chunk->size, present) / format.blockAlign;
      return format;
    }
    if (!chunk->is("fmt ") && !chunk->is("bext")) {
      if (!chunks.skipBody(*chunk)) return fail(chunk->dataOffset(), "the file ends inside a chunk");
      continue;
    }
    auto body =
        chunks.readBody(*chunk, chunk->is("bext") ? riff::kBextTimeReferenceOffset + 8 : riff::kExtensibleFormatSize);
    if (!body) return error = body.error().text(), std::nullopt;
    if (chunk->is("bext")) {
      format.timeReference = riff::bextTimeReference(*body);
      continue;
    }
    const auto record = riff::parseWaveFormat(*body, chunk->dataOffset());
    if (!record) return error = record.error().text(), std::nullopt;
    if (!checkFormat(*record, chunk->dataOffset(), error)) return std::nullopt;
    format.sampleRate = record->sampleRate;
    format.channels = record->channels;
    format.bitsPerSample = record->bitsPerSample;
    format.blockAlign = record->blockAlign;
    haveFormat = true;
  }
  return fail(chunks.offset(), haveFormat ? "no data chunk" : "no fmt chunk");
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

std::optional<FilmSoundFormat> parseFilmSoundHeader(std::istream& in, uint64_t fileSize, std::string& error) {
  return parseHeader(in, fileSize, error);
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
  std::ifstream in(path, std::ios::binary);
  std::string reason;
  const auto format = size < 0 || !in ? std::nullopt : parseFilmSoundHeader(in, uint64_t(size), reason);
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
