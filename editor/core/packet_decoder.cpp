#include "packet_decoder.h"

#include "common/output.h"
#include "packet_encoder.h"

namespace vtq {
namespace {

constexpr uint8_t kSync[4] = {0xA, 0xA, 0xA, 0x2};
constexpr uint8_t kSeparator = 0x2;
constexpr size_t kMaxWords = 9;  // the most that a 5-bit length describes

uint8_t nibbleAt(std::span<const uint8_t> bits, size_t index) {
  uint8_t nibble = 0;
  for (size_t b = 4 * index; b < 4 * index + 4; ++b)
    nibble = uint8_t(nibble << 1 | (b < bits.size() && bits[b] ? 1 : 0));
  return nibble;
}

// The word count whose packet has length g, or 0.
size_t wordCountFor(uint8_t g) {
  for (size_t k = 1; k <= kMaxWords; ++k) {
    if (packetNibbleCount(k) - 6 == g) return k;
  }
  return 0;
}

// Words with their check nibbles, and the separators, from nibble 6 on.
PacketCheck readWords(std::span<const uint8_t> bits, size_t wordCount, std::vector<uint8_t>& words, uint8_t& sum) {
  size_t at = 6;
  int separatorsLeft = CPacketEncoder::separatorCount(wordCount);
  bool parityOk = true;
  for (size_t position = 0; position < wordCount; ++position) {
    if (separatorsLeft > 0 && position % 3 == 0 && position >= 3 && position <= 15) {
      if (nibbleAt(bits, at++) != kSeparator) return PacketCheck::Length;
      --separatorsLeft;
    }
    const uint8_t word = uint8_t(nibbleAt(bits, at) << 4 | nibbleAt(bits, at + 1));
    const uint8_t check = nibbleAt(bits, at + 2);
    at += 3;
    parityOk = parityOk && check == CPacketEncoder::checkNibble(word);
    sum = uint8_t(sum + word + check);
    words.push_back(word);
  }
  return parityOk ? PacketCheck::Intact : PacketCheck::Parity;
}

}  // namespace

const char* packetCheckName(PacketCheck check) {
  switch (check) {
    case PacketCheck::Intact: return "intact";
    case PacketCheck::Header: return "header";
    case PacketCheck::Length: return "length";
    case PacketCheck::Parity: return "parity";
    case PacketCheck::Checksum: return "checksum";
  }
  return "";
}

size_t packetNibbleCount(size_t wordCount) {
  return 6 + 3 * wordCount + size_t(CPacketEncoder::separatorCount(wordCount)) + 2;
}

DecodedPacket decodePacket(std::span<const uint8_t> bits) {
  DecodedPacket packet;
  packet.bitCount = kPacketHeadBits;
  for (size_t n = 0; n < 4; ++n) {
    if (nibbleAt(bits, n) != kSync[n]) return packet;
  }
  const uint8_t lengthByte = uint8_t(nibbleAt(bits, 4) << 4 | nibbleAt(bits, 5));
  if ((lengthByte & 0xE0) != 0xA0) return packet;
  const size_t wordCount = wordCountFor(lengthByte & 0x1F);
  packet.check = PacketCheck::Length;
  if (wordCount == 0) return packet;
  const size_t nibbles = packetNibbleCount(wordCount);
  packet.bitCount = 4 * nibbles;
  uint8_t sum = 0;
  packet.check = readWords(bits, wordCount, packet.words, sum);
  if (packet.check != PacketCheck::Intact) return packet;
  if (uint8_t(nibbleAt(bits, nibbles - 2) << 4 | nibbleAt(bits, nibbles - 1)) != sum) {
    packet.check = PacketCheck::Checksum;
    return packet;
  }
  // Header, command code (its low nibble counts the parameter bytes), the
  // parameters, and the delay byte when the header's bit 7 says timed.
  const bool timed = (packet.words[0] & 0x80) != 0;
  if (wordCount < 2 || wordCount != 2 + size_t(packet.words[1] & 0x0F) + (timed ? 1 : 0))
    packet.check = PacketCheck::Length;
  return packet;
}

std::string packetByteCode(const std::vector<uint8_t>& words) {
  std::string text = "0x";
  if (words.empty()) return text;
  const bool timed = (words[0] & 0x80) != 0;
  const size_t end = words.size() - (timed && words.size() > 1 ? 1 : 0);
  for (size_t i = 1; i < end; ++i) text += common::format("%02X", unsigned(words[i]));
  return text;
}

}  // namespace vtq
