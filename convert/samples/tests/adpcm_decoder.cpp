#include "adpcm_decoder.h"

#include <algorithm>
#include <cmath>

namespace convert::testing {
namespace {

int64_t floorDiv2048(int64_t v) { return v >= 0 ? v / 2048 : -((-v + 2047) / 2048); }

struct Entry {
  int64_t older[8];  // weight of x[-2] at step i
  int64_t newer[8];  // weight of x[-1] at step i
};

// One half: x0 and x1 raw, then 30 samples in groups of 6, 8, 8, 8. A
// residual e_m of the group adds newer[i - m - 1] to the prediction of step
// i, as a value placed right before the group would.
void decodeHalf(const Entry& entry, int64_t x0, int64_t x1, uint8_t header, const uint8_t* codes,
                std::vector<int16_t>& out) {
  const int scale = 12 - (header & 15);
  std::vector<int64_t> y{x0, x1};
  int code = 0;
  for (int size : {6, 8, 8, 8}) {
    const int64_t p0 = y[y.size() - 2], p1 = y[y.size() - 1];
    std::vector<int64_t> e;
    for (int i = 0; i < size; ++i, ++code) {
      int64_t sum = entry.older[i] * p0 + entry.newer[i] * p1;
      for (int m = 0; m < i; ++m) sum += entry.newer[i - m - 1] * e[m];
      const uint8_t byte = codes[code / 2];
      int nibble = code % 2 == 0 ? byte >> 4 : byte & 15;
      if (nibble >= 8) nibble -= 16;
      e.push_back(int64_t(nibble) * (int64_t(1) << scale));
      y.push_back(floorDiv2048(sum) + e.back());
    }
  }
  for (int64_t v : y) out.push_back(int16_t(std::clamp<int64_t>(v, -32768, 32767)));
}

}  // namespace

std::vector<int16_t> decodeN64Adaptive(std::span<const uint8_t> data, size_t blocks, common::Endian endian) {
  std::vector<Entry> book(8);
  for (int p = 0; p < 8; ++p) {
    for (int i = 0; i < 8; ++i) {
      book[p].older[i] = int16_t(common::loadU16(data.data() + p * 32 + i * 2, endian));
      book[p].newer[i] = int16_t(common::loadU16(data.data() + p * 32 + 16 + i * 2, endian));
    }
  }
  std::vector<int16_t> out;
  for (size_t b = 0; b < blocks; ++b) {
    const uint8_t* block = data.data() + 256 + b * 40;
    const auto raw = [&](int i) { return int16_t(common::loadU16(block + 2 * i, endian)); };
    decodeHalf(book[block[8] >> 4], raw(0), raw(1), block[8], block + 9, out);
    decodeHalf(book[block[24] >> 4], raw(2), raw(3), block[24], block + 25, out);
  }
  return out;
}

double snrDb(std::span<const int16_t> reference, std::span<const int16_t> decoded, size_t count) {
  double signal = 0, noise = 0;
  for (size_t i = 0; i < count; ++i) {
    signal += double(reference[i]) * reference[i];
    const double d = double(reference[i]) - decoded[i];
    noise += d * d;
  }
  if (noise == 0) return 200.0;
  return 10.0 * std::log10(signal / noise);
}

std::vector<int16_t> topFourBits(std::span<const int16_t> samples) {
  std::vector<int16_t> out;
  for (int16_t s : samples) out.push_back(int16_t(s & ~0x0FFF));
  return out;
}

}  // namespace convert::testing
