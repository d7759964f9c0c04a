// Writes the pulse signal of cue transmissions into a 16-bit mono wave file.
//
// A 1 bit is the rate's pulse followed by as many zero samples (118 samples at
// 44100 Hz, 120 at 48000 Hz); a 0 bit is the same number of zero samples.
// At any other rate no samples are written.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "wave_file.h"

namespace vtq {

class CCueWaveWriter {
 public:
  CCueWaveWriter() = default;

  // Creates the wave file: PCM, 16 bits, 1 channel at `sampleRate`.
  int open(const std::filesystem::path& path, uint32_t sampleRate);
  // The same signal into memory (see CWaveFile::openInMemory).
  int openInMemory(uint32_t sampleRate);
  void writeBit(bool one);
  // Silence of `milliseconds`: rate * ms / 1000 zero samples, rounded down.
  void writeSilence(uint32_t milliseconds);
  int close();

  uint32_t sampleRate() const { return sampleRate_; }
  // Samples per bit at the open rate (0 at a rate without a pulse).
  size_t samplesPerBit() const { return oneBit_.size() / 2; }
  const CWaveFile& waveFile() const { return wave_; }
  CWaveFile& waveFile() { return wave_; }

  static bool hasPulseFor(uint32_t sampleRate) { return sampleRate == 44100 || sampleRate == 48000; }

 private:
  void choosePulse(uint32_t sampleRate);

  CWaveFile wave_;
  uint32_t sampleRate_ = 0;
  std::vector<uint8_t> oneBit_;  // the bytes of a 1 bit, ready to append
};

}  // namespace vtq
