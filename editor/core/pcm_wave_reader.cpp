#include "pcm_wave_reader.h"

#include <algorithm>

#include "common/byte_order.h"
#include "common/output.h"

namespace vtq {
namespace {

namespace riff = common::riff;

constexpr size_t kMaxRawBytes = size_t(1) << 20;

}  // namespace

bool PcmWaveReader::fail(const std::string& reason) {
  error_ = common::format("%s: at byte %llu: %s", name_.c_str(), (unsigned long long)chunks_.offset(), reason.c_str());
  return false;
}

bool PcmWaveReader::readFormatChunk(const riff::ChunkHeader& chunk) {
  if (chunk.size < riff::kFormatSize)
    return fail(common::format("the fmt chunk has %u bytes, fewer than 16", chunk.size));
  const auto body = chunks_.readBody(chunk, riff::kExtensibleFormatSize);
  if (!body) return fail("the file ends in its fmt chunk");
  const auto record = riff::parseWaveFormat(*body, chunk.dataOffset());
  if (!record) return fail("the file ends in its fmt chunk");
  uint16_t tag = record->tag;
  format_.channels = record->channels;
  format_.sampleRate = record->sampleRate;
  format_.blockAlign = record->blockAlign;
  format_.bitsPerSample = record->bitsPerSample;
  if (tag == riff::kFormatExtensible) {
    const std::optional<uint16_t> sub = record->subFormatTag();
    if (!sub) return fail("the WAVE_FORMAT_EXTENSIBLE fmt chunk has no known sub-format");
    tag = *sub;
  }
  if (tag == riff::kFormatFloat) return fail("float samples are not supported: save the mix as 16 or 24-bit PCM");
  if (tag != riff::kFormatPcm) return fail(common::format("format %u is not PCM", unsigned(tag)));
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
  const std::optional<riff::FormHeader> form = chunks_.readForm();
  if (!form) return fail("the file is too short for a wave file");
  if (form->group == riff::FourCC{'R', 'F', '6', '4'} || form->group == riff::FourCC{'B', 'W', '6', '4'})
    return fail("RF64 wave files are not supported: save the mix as a plain RIFF wave file (up to 4 GiB)");
  if (!form->is("RIFF", "WAVE")) return fail("not a RIFF/WAVE file");
  bool haveFormat = false;
  for (;;) {
    const std::optional<riff::ChunkHeader> chunk = chunks_.next();
    if (!chunk) return fail(haveFormat ? "no data chunk" : "no fmt chunk");
    if (chunk->is("fmt ")) {
      if (!readFormatChunk(*chunk)) return false;
      haveFormat = true;
    } else if (chunk->is("data")) {
      if (!haveFormat) return fail("the data chunk comes before the fmt chunk");
      format_.dataToEnd = chunk->sizeToEnd();
      format_.dataBytes = chunk->size;
      dataLeft_ = format_.dataToEnd ? UINT64_MAX : chunk->size;
      return true;
    } else if (!chunks_.skipBody(*chunk)) {
      return fail("the file ends inside a chunk");
    }
  }
}

size_t PcmWaveReader::readMono(std::span<float> out, std::optional<uint16_t> channel) {
  const size_t block = format_.blockAlign;
  if (block == 0 || dataLeft_ < block) return 0;
  // The raw buffer holds at most kMaxRawBytes (at least one frame, which a
  // 16-bit block align keeps under 64 KiB), whatever the header declares.
  const size_t frames =
      size_t(std::min<uint64_t>({out.size(), dataLeft_ / block, std::max<uint64_t>(1, kMaxRawBytes / block)}));
  raw_.resize(frames * block);
  const size_t bytes = chunks_.read(raw_);
  const size_t got = bytes / block;
  dataLeft_ -= bytes;
  if (got < frames) {
    truncated_ = !format_.dataToEnd;
    dataLeft_ = 0;
  }
  const uint16_t first = channel.value_or(0);
  const uint16_t count = channel ? 1 : format_.channels;
  const uint8_t* p = raw_.data();
  using common::Endian;
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
