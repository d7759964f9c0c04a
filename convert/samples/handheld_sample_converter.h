// Converts loaded samples for the handhelds: signed 8-bit samples or 4-bit
// codes for the Game Boy Advance, 4-bit codes with silent runs collapsed for
// the Game Boy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "convert/samples/sample_header.h"

namespace convert {

constexpr size_t kHandheldHeaderBytes = 16;
constexpr size_t kCodesPerBlock = 32;  // a Game Boy block: 16 bytes
constexpr size_t kGameBoyBlockBytes = kCodesPerBlock / 2;
constexpr uint8_t kCodePad = 7;  // code that fills the last block
constexpr uint8_t kSilenceMarker = 0x78;

// A sample object of the handheld writers: its header (the length word's
// top byte holds the export script's compression type) and its 16-bit
// samples; the conversion fills `data` with what follows the header.
struct HandheldSample {
  SampleHeader header;
  std::vector<int16_t> samples;
  std::vector<uint8_t> data;
  uint32_t checksum = 0;  // Game Boy: CRC-32 of `data`

  size_t objectSize() const { return kHandheldHeaderBytes + data.size(); }
  uint8_t formatFlag() const { return header.type(); }
};

// The 4-bit code of a 16-bit sample: its top four bits as an unsigned value
// with 8 as silence.
constexpr uint8_t handheldCode(int16_t sample) { return uint8_t(((sample >> 12) & 15) ^ 8); }

// 4-bit codes of the first `length` samples (missing samples count as
// silence), two a byte with the earlier in the high nibble, padded with
// code 7 to whole blocks of 32 codes.
std::vector<uint8_t> packHandheldCodes(const std::vector<int16_t>& samples, uint32_t length);

// Type 0: signed 8-bit samples (sample / 256, truncated); any other type:
// packed 4-bit codes. Returns the new object size.
size_t convertSampleForAdvance(HandheldSample& sample);

// Packed 4-bit codes; then, with more than one block, 0x7n first bytes move
// to 0x8n (0x78 marks silence) and runs of two or more silent blocks become
// marker blocks. Stores the CRC-32 of the data. Returns the new object size.
size_t convertSampleForGameBoy(HandheldSample& sample);

// The collapsing step on whole 16-byte blocks, exposed for tests.
std::vector<uint8_t> collapseSilentBlocks(const std::vector<uint8_t>& blocks);

}  // namespace convert
