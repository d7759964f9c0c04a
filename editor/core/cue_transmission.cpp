#include "cue_transmission.h"

#include "command.h"
#include "common/byte_order.h"
#include "cue_wave_writer.h"
#include "packet_encoder.h"

namespace vtq {

void writeTransmission(const CCommand& command, CCueWaveWriter& writer) {
  CommandBytes bytes;
  const int count = command.dataBytes(bytes);
  const uint8_t duration = command.durationByte();
  CPacketEncoder encoder(writer);
  encoder.setSequence(0);
  const std::span<const uint8_t> data(bytes.data(), size_t(count));
  writer.writeSilence(kLeadMilliseconds);
  encoder.send(data, command.isTimed(), duration);
  for (int i = 0; i < command.retransmissions(); ++i) {
    writer.writeSilence(kRepeatGapMilliseconds);
    encoder.send(data, command.isTimed(), duration);
  }
}

std::vector<int16_t> transmissionSamples(const CCommand& command, uint32_t sampleRate) {
  CCueWaveWriter writer;
  if (writer.openInMemory(sampleRate) != CWaveFile::kOk) return {};
  writeTransmission(command, writer);
  writer.close();
  const std::vector<uint8_t> bytes = writer.waveFile().takeMemoryBytes();
  std::vector<int16_t> samples((bytes.size() - CWaveFile::kHeaderSize) / 2);
  for (size_t i = 0; i < samples.size(); ++i)
    samples[i] = int16_t(common::loadU16(&bytes[CWaveFile::kHeaderSize + 2 * i], common::Endian::Little));
  return samples;
}

}  // namespace vtq
