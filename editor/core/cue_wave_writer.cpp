#include "cue_wave_writer.h"

#include <span>

#include "pulse_tables.h"

namespace vtq {
namespace {

std::vector<uint8_t> oneBitBytes(std::span<const int16_t> pulse) {
  // The pulse, then as many zero samples.
  std::vector<uint8_t> bytes(pulse.size() * 4, 0);
  for (size_t i = 0; i < pulse.size(); ++i) common::storeU16(&bytes[2 * i], uint16_t(pulse[i]), common::Endian::Little);
  return bytes;
}

}  // namespace

void CCueWaveWriter::choosePulse(uint32_t sampleRate) {
  sampleRate_ = sampleRate;
  if (sampleRate == 44100) {
    oneBit_ = oneBitBytes(kPulse44100);
  } else if (sampleRate == 48000) {
    oneBit_ = oneBitBytes(kPulse48000);
  } else {
    oneBit_.clear();
  }
}

int CCueWaveWriter::open(const std::filesystem::path& path, uint32_t sampleRate) {
  choosePulse(sampleRate);
  return wave_.openForWrite(path, sampleRate, 16, 1);
}

int CCueWaveWriter::openInMemory(uint32_t sampleRate) {
  choosePulse(sampleRate);
  return wave_.openInMemory(sampleRate, 16, 1);
}

void CCueWaveWriter::writeBit(bool one) {
  if (oneBit_.empty()) return;
  if (one) {
    wave_.writeSampleBytes(oneBit_);
  } else {
    wave_.writeSilence(samplesPerBit());
  }
}

void CCueWaveWriter::writeSilence(uint32_t milliseconds) {
  if (oneBit_.empty()) return;
  wave_.writeSilence(size_t(uint64_t(sampleRate_) * milliseconds / 1000));
}

int CCueWaveWriter::close() { return wave_.close(); }

}  // namespace vtq
