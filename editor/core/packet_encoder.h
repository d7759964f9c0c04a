// Builds the protected packet of one transmission and sends it bit by bit.
//
// A packet is a stream of 4-bit nibbles made from 8-bit words: the header
// (sequence value | 0x10, | 0x80 when timed), the data bytes, and the delay
// byte when timed. Each word goes out as its high nibble, its low nibble and a
// Hamming-style check nibble; a separator nibble 2 stands before the words at
// positions 3, 6, 9, 12 and 15; a preamble, a length and a checksum frame it.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace vtq {

class CCueWaveWriter;

class CPacketEncoder {
 public:
  explicit CPacketEncoder(CCueWaveWriter& writer) : writer_(writer) {}

  // The low bits of the packet header (the editor always sends 0).
  void setSequence(uint8_t sequence) { sequence_ = sequence; }
  uint8_t sequence() const { return sequence_; }

  // Sends one packet for `data` (command code and parameter bytes), with the
  // delay byte `duration` when `timed`, most significant bit of each nibble first.
  void send(std::span<const uint8_t> data, bool timed, uint8_t duration);

  // The nibbles of that packet.
  static std::vector<uint8_t> packetNibbles(uint8_t sequence, std::span<const uint8_t> data, bool timed,
                                            uint8_t duration);
  // Check nibble of a word: bits 3..0 are the parities of the word masked
  // with 0xBB, 0xD9, 0xEC and 0xF6.
  static uint8_t checkNibble(uint8_t word);
  // Number of separator nibbles for k words.
  static int separatorCount(size_t wordCount);

 private:
  CCueWaveWriter& writer_;
  uint8_t sequence_ = 0;
};

}  // namespace vtq
