#include "packet_encoder.h"

#include <bit>

#include "cue_wave_writer.h"

namespace vtq {
namespace {

uint8_t parity(uint8_t x) { return uint8_t(std::popcount(x) & 1); }

}  // namespace

uint8_t CPacketEncoder::checkNibble(uint8_t word) {
  return uint8_t((parity(word & 0xBB) << 3) | (parity(word & 0xD9) << 2) | (parity(word & 0xEC) << 1) |
                 parity(word & 0xF6));
}

int CPacketEncoder::separatorCount(size_t wordCount) {
  if (wordCount <= 3) return 0;
  if (wordCount <= 6) return 1;
  if (wordCount <= 9) return 2;
  if (wordCount <= 12) return 3;
  if (wordCount <= 15) return 4;
  return 5;
}

std::vector<uint8_t> CPacketEncoder::packetNibbles(uint8_t sequence, std::span<const uint8_t> data, bool timed,
                                                   uint8_t duration) {
  std::vector<uint8_t> words;
  words.reserve(data.size() + 2);
  words.push_back(uint8_t(sequence | 0x10 | (timed ? 0x80 : 0)));
  words.insert(words.end(), data.begin(), data.end());
  if (timed) words.push_back(duration);

  const int separators = separatorCount(words.size());
  const uint8_t length = uint8_t(3 * words.size() + size_t(separators) + 2);
  uint8_t checksum = 0;
  // The length goes out as the byte 0xA0 | g after the preamble A A A 2.
  const uint8_t lengthByte = uint8_t(0xA0 | length);
  std::vector<uint8_t> nibbles = {0xA, 0xA, 0xA, 0x2, uint8_t(lengthByte >> 4), uint8_t(lengthByte & 0xF)};
  int separatorsLeft = separators;
  for (size_t position = 0; position < words.size(); ++position) {
    const uint8_t word = words[position];
    if (separatorsLeft > 0 && position % 3 == 0 && position >= 3 && position <= 15) {
      nibbles.push_back(0x2);
      --separatorsLeft;
    }
    const uint8_t check = checkNibble(word);
    nibbles.push_back(uint8_t(word >> 4));
    nibbles.push_back(uint8_t(word & 0xF));
    nibbles.push_back(check);
    checksum = uint8_t(checksum + word + check);
  }
  nibbles.push_back(uint8_t(checksum >> 4));
  nibbles.push_back(uint8_t(checksum & 0xF));
  return nibbles;
}

void CPacketEncoder::send(std::span<const uint8_t> data, bool timed, uint8_t duration) {
  for (uint8_t nibble : packetNibbles(sequence_, data, timed, duration)) {
    for (int bit = 3; bit >= 0; --bit) writer_.writeBit(((nibble >> bit) & 1) != 0);
  }
}

}  // namespace vtq
