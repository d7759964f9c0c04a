// Reads a packet back from its bits, the reverse of CPacketEncoder, and
// checks it the way the toy's receiver does: the sync nibbles A A A 2 and the
// length byte's top bits 101 (header), a length that some word count gives and
// separators where that count puts them (length), each word's check nibble
// (parity), and the checksum. A packet whose checks pass also needs as many
// words as its command code and timed flag call for (length).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vtq {

enum class PacketCheck { Intact, Header, Length, Parity, Checksum };

// The word of a check that failed: "header", "length", "parity", "checksum".
const char* packetCheckName(PacketCheck check);

struct DecodedPacket {
  PacketCheck check = PacketCheck::Header;
  // Bits the packet spans: all of them when its length could be read,
  // otherwise the 24 bits of its sync nibbles and length byte.
  size_t bitCount = 0;
  // The words (header, command code and parameter bytes, delay byte when
  // timed); complete only when the packet is intact.
  std::vector<uint8_t> words;
};

// Bits of the longest packet the length byte can describe.
constexpr size_t kMaxPacketBits = 4 * (6 + 31);
// Bits of the sync nibbles and the length byte, read before the length is known.
constexpr size_t kPacketHeadBits = 24;

// Decodes the packet whose first bit is bits[0] (one bit per element, 0 or 1).
// Bits past the end of `bits` count as 0.
DecodedPacket decodePacket(std::span<const uint8_t> bits);

// The nibble count (6 + g) for k words, as the encoder lays them out.
size_t packetNibbleCount(size_t wordCount);

// "0x" and the data bytes (the words without the header and the delay byte)
// as upper-case hex pairs, as the command list shows them.
std::string packetByteCode(const std::vector<uint8_t>& words);

}  // namespace vtq
