#include "pcm_wave_reader.h"

#include <algorithm>

#include "common/byte_order.h"
#include "common/output.h"

namespace vtq {
namespace {

using common::Endian;

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;
// The sub-format GUID of WAVE_FORMAT_EXTENSIBLE: the format tag in its first
// two bytes, then this fixed tail (xxxxxxxx-0000-0010-8000-00AA00389B71).
constexpr uint8_t kGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                   0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
constexpr uint32_t kUnknownSize = 0xFFFFFFFF;
constexpr size_t kMaxRawBytes = size_t(1) << 20;

bool sameId(const uint8_t* id, const char* text) { return std::equal(id, id + 4, text); }

}  // namespace

bool PcmWaveReader::fail(const std::string& reason) {
  error_ = common::format("%s: at byte %llu: %s", name_.c_str(), (unsigned long long)offset_, reason.c_str());
  return false;
}

bool PcmWaveReader::readBytes(uint8_t* data, size_t count) {
  in_.read(reinterpret_cast<char*>(data), std::streamsize(count));
  const size_t got = size_t(in_.gcount());
  offset_ += got;
  return got == count;
}

bool PcmWaveReader::skipBytes(uint64_t count) {
  uint8_t scratch[4096];
  while (count > 0) {
    const size_t step = size_t(std::min<uint64_t>(count, sizeof scratch));
    if (!readBytes(scratch, step)) return false;
    count -= step;
  }
  return true;
}

bool PcmWaveReader::readFormatChunk(uint32_t size) {
  if (size < 16) return fail(common::format("the fmt chunk has %u bytes, fewer than 16", size));
  uint8_t fmt[40] = {};
  const uint32_t kept = std::min<uint32_t>(size, sizeof fmt);
  if (!readBytes(fmt, kept) || !skipBytes(uint64_t(size - kept) + (size & 1))) return fail("the file ends in its fmt chunk");
  uint16_t tag = common::loadU16(fmt, Endian::Little);
  format_.channels = common::loadU16(fmt + 2, Endian::Little);
  format_.sampleRate = common::loadU32(fmt + 4, Endian::Little);
  format_.blockAlign = common::loadU16(fmt + 12, Endian::Little);
  format_.bitsPerSample = common::loadU16(fmt + 14, Endian::Little);
  if (tag == kFormatExtensible) {
    if (size < 40 || !std::equal(kGuidTail, kGuidTail + 14, fmt + 26))
      return fail("the WAVE_FORMAT_EXTENSIBLE fmt chunk has no known sub-format");
    tag = common::loadU16(fmt + 24, Endian::Little);
  }
  if (tag == kFormatFloat) return fail("float samples are not supported: save the mix as 16 or 24-bit PCM");
  if (tag != kFormatPcm) return fail(common::format("format %u is not PCM", unsigned(tag)));
  if (format_.bitsPerSample != 16 && format_.bitsPerSample != 24)
    return fail(common::format("%u-bit samples are not supported: save the mix as 16 or 24-bit PCM",
                               unsigned(format_.bitsPerSample)));
  if (format_.channels == 0 || format_.blockAlign != format_.channels * (format_.bitsPerSample / 8))
    return fail(common::format("%u channels do not fit a block of %u bytes", unsigned(format_.channels),
                               unsigned(format_.blockAlign)));
  if (format_.sampleRate != 44100 && format_.sampleRate != 48000)
    return fail(common::format("the sample rate %u Hz is not 44100 or 48000 Hz", format_.sampleRate));
  return true;
}

bool PcmWaveReader::readHeader() {
  uint8_t riff[12];
  if (!readBytes(riff, 12)) return fail("the file is too short for a wave file");
  if (sameId(riff, "RF64") || sameId(riff, "BW64"))
    return fail("RF64 wave files are not supported: save the mix as a plain RIFF wave file (up to 4 GiB)");
  if (!sameId(riff, "RIFF") || !sameId(riff + 8, "WAVE")) return fail("not a RIFF/WAVE file");
  bool haveFormat = false;
  for (;;) {
    uint8_t chunk[8];
    if (!readBytes(chunk, 8)) return fail(haveFormat ? "no data chunk" : "no fmt chunk");
    const uint32_t size = common::loadU32(chunk + 4, Endian::Little);
    if (sameId(chunk, "fmt ")) {
      if (!readFormatChunk(size)) return false;
      haveFormat = true;
    } else if (sameId(chunk, "data")) {
      if (!haveFormat) return fail("the data chunk comes before the fmt chunk");
      format_.dataToEnd = size == kUnknownSize;
      format_.dataBytes = size;
      dataLeft_ = format_.dataToEnd ? UINT64_MAX : size;
      return true;
    } else if (!skipBytes(uint64_t(size) + (size & 1))) {
      return fail("the file ends inside a chunk");
    }
  }
}

size_t PcmWaveReader::readMono(std::span<float> out, std::optional<uint16_t> channel) {
  const size_t block = format_.blockAlign;
  if (block == 0 || dataLeft_ < block) return 0;
  // The raw buffer holds at most kMaxRawBytes (at least one frame, which a
  // 16-bit block align keeps under 64 KiB), whatever the header declares.
  const size_t frames = size_t(std::min<uint64_t>({out.size(), dataLeft_ / block, std::max<uint64_t>(1, kMaxRawBytes / block)}));
  raw_.resize(frames * block);
  in_.read(reinterpret_cast<char*>(raw_.data()), std::streamsize(raw_.size()));
  const size_t got = size_t(in_.gcount()) / block;
  offset_ += uint64_t(in_.gcount());
  dataLeft_ -= uint64_t(in_.gcount());
  if (got < frames) {
    truncated_ = !format_.dataToEnd;
    dataLeft_ = 0;
  }
  const uint16_t first = channel.value_or(0);
  const uint16_t count = channel ? 1 : format_.channels;
  const uint8_t* p = raw_.data();
  if (format_.bitsPerSample == 16) {
    for (size_t f = 0; f < got; ++f, p += block) {
      int64_t sum = 0;
      for (uint16_t c = first; c < first + count; ++c) sum += int16_t(common::loadU16(p + 2 * c, Endian::Little));
      out[f] = float(sum);
    }
  } else {
    for (size_t f = 0; f < got; ++f, p += block) {
      int64_t sum = 0;
      for (uint16_t c = first; c < first + count; ++c) {
        const uint8_t* s = p + 3 * c;
        sum += int32_t(uint32_t(s[0]) << 8 | uint32_t(s[1]) << 16 | uint32_t(s[2]) << 24) >> 8;
      }
      out[f] = float(sum) / 256.0f;
    }
  }
  framesRead_ += got;
  return got;
}

}  // namespace vtq
