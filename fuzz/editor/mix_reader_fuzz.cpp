// Feeds arbitrary bytes to the mix reader of the sound track check and, when
// it accepts them, runs the transmission finder over the samples and the
// packet decoder over the bytes taken as bits, checking that what they return
// holds together.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "core/packet_decoder.h"
#include "core/pcm_wave_reader.h"
#include "core/transmission_finder.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

void readAll(const std::string& bytes, std::optional<uint16_t> channel) {
  std::istringstream in(bytes);
  vtq::PcmWaveReader reader(in, "mix.wav");
  if (!reader.readHeader()) {
    check(!reader.error().empty());
    return;
  }
  const vtq::PcmWaveFormat& format = reader.format();
  check(format.sampleRate == 44100 || format.sampleRate == 48000);
  check(format.blockAlign == format.channels * format.bitsPerSample / 8 && format.channels > 0);
  if (channel && *channel >= format.channels) return;
  vtq::TransmissionFinder finder(format.sampleRate == 44100 ? 48000 : 44100, format.sampleRate);
  std::vector<float> samples(257);
  while (const size_t frames = reader.readMono(samples, channel)) {
    check(frames <= samples.size());
    finder.push(std::span<const float>(samples.data(), frames));
  }
  finder.finish();
  check(reader.framesRead() * format.blockAlign <= bytes.size());
  for (const vtq::FoundTransmission& t : finder.found()) {
    check(t.start >= -8.0 && t.start <= double(reader.framesRead()) + 8.0);
    check(t.packet.check != vtq::PacketCheck::Intact || !t.packet.words.empty());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  readAll(bytes, std::nullopt);
  readAll(bytes, uint16_t(1));

  std::vector<uint8_t> bits;
  for (size_t i = 0; i < size && bits.size() < vtq::kMaxPacketBits; ++i) bits.push_back(data[i] & 1);
  const vtq::DecodedPacket packet = vtq::decodePacket(bits);
  check(packet.bitCount <= vtq::kMaxPacketBits && packet.bitCount >= vtq::kPacketHeadBits);
  if (packet.check == vtq::PacketCheck::Intact) check(packet.words.size() >= 2 && packet.words.size() <= 9);
  return 0;
}
