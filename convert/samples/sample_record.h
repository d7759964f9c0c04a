// The sample record: format, loop and data of one sample as the readers give
// it to the sample conversion and the target writers.
#pragma once

#include <cstdint>
#include <vector>

namespace convert {

enum class LoopMode : uint16_t {
  kNone = 0,
  kLoop = 1,
  kLoopWithRelease = 2,  // AIFF: a sustain loop and a release loop
};

struct SampleRecord {
  uint32_t dataLength = 0;  // bytes of sample data in the file
  uint32_t rate = 0;        // Hz
  uint32_t frames = 0;      // sample frames as the file announces them
  uint16_t bits = 0;        // 8 or 16 after a WAV or AIFF read; 16 for KALP
  uint16_t channels = 0;
  uint16_t rootKey = 0;    // MIDI key of the sample's own rate; 60 when the file says nothing
  uint16_t coding = 0;     // KALP only: 1 for coding field 0, 2 for 1, else 0
  int32_t loopStart = -1;  // first frame of the loop
  int32_t loopEnd = -1;    // last frame of the loop (inclusive)
  LoopMode loopMode = LoopMode::kNone;
  int32_t loopCount = 0;  // -1 endless

  // Exactly one of these holds the data: 16-bit samples (WAV, AIFF and
  // KALP, whose little-endian data is handed on as stored) or signed 8-bit
  // samples (WAV's unsigned bytes have 128 subtracted). Interleaved when
  // there is more than one channel. Only whole samples are kept: an odd last
  // byte of 16-bit data is counted in dataLength and dropped here.
  std::vector<int16_t> samples16;
  std::vector<int8_t> samples8;

  bool loops() const { return loopMode != LoopMode::kNone; }
};

}  // namespace convert
