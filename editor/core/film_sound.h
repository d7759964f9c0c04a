// The film's sound track as the timeline reads it: a PCM wave file (16 or
// 24 bits, plain or WAVE_FORMAT_EXTENSIBLE, any channel count, 44100 or
// 48000 Hz) read at any frame, any number of times, without holding its
// samples. Its start time code comes from a Broadcast Wave `bext` chunk's
// time reference when there is one.
#pragma once

#include <cstdint>
#include <filesystem>
#include <istream>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "smpte_time.h"

namespace vtq {

struct FilmSoundFormat {
  uint32_t sampleRate = 0;
  uint16_t channels = 0;
  uint16_t bitsPerSample = 0;  // 16 or 24
  uint16_t blockAlign = 0;
  uint64_t dataOffset = 0;  // the first sample's byte in the file
  uint64_t frameCount = 0;  // whole frames of the data chunk that the file holds
  // The bext chunk's TimeReference: samples since midnight of the first sample.
  std::optional<uint64_t> timeReference;
};

// Reads the chunks of a wave file of `fileSize` bytes from `in` up to its data
// chunk, taking the bext chunk's time reference on the way. On failure
// returns nullopt and sets `error` (byte offset and reason). A data chunk that
// states more bytes than the file has counts the frames the file holds.
std::optional<FilmSoundFormat> parseFilmSoundHeader(std::istream& in, uint64_t fileSize, std::string& error);

// The time code of the first sample: the time reference converted to frames
// (rounded down), or 00:00:00:00 without one.
CSMPTETime filmSoundStart(const FilmSoundFormat& format);

// Which channel a reading gives: one channel (counted from 0), or all summed.
using ChannelChoice = std::optional<uint16_t>;

class FilmSound {
 public:
  FilmSound() = default;
  ~FilmSound();
  FilmSound(const FilmSound&) = delete;
  FilmSound& operator=(const FilmSound&) = delete;

  // Opens `path` and reads its header. On failure error() names the file.
  bool open(const std::filesystem::path& path);
  bool isOpen() const { return fd_ >= 0; }
  const FilmSoundFormat& format() const { return format_; }
  const std::filesystem::path& path() const { return path_; }
  const std::string& error() const { return error_; }
  // The largest magnitude a sample of `channel` can have (full scale).
  double fullScale(ChannelChoice channel) const;

  // Reads frames [first, first + out.size()) as one value per frame at the
  // samples' own scale (24-bit values are not scaled): the channel's sample
  // or the sum of all channels. Returns the frames read (fewer at the end).
  // Safe to call from several threads at once.
  size_t readFrames(uint64_t first, std::span<int32_t> out, ChannelChoice channel) const;
  // Reads frames as they are, every channel, as floats in -1..1 (interleaved).
  size_t readInterleaved(uint64_t first, size_t frames, std::vector<float>& out) const;

 private:
  size_t readRaw(uint64_t first, size_t frames, std::vector<uint8_t>& raw) const;

  int fd_ = -1;
  std::filesystem::path path_;
  FilmSoundFormat format_;
  std::string error_;
};

}  // namespace vtq
