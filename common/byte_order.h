// Byte writers and readers with an explicit byte order.
//
// Every binary layout of the toolset is written through ByteWriter and read
// through ByteReader, never by copying structs, so that the files do not depend
// on the host's byte order, alignment or padding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace common {

enum class Endian { Little, Big };

// Plain loads and stores on byte buffers of at least the value's size.
constexpr uint16_t loadU16(const uint8_t* p, Endian e) {
  return e == Endian::Little ? uint16_t(p[0] | (p[1] << 8)) : uint16_t((p[0] << 8) | p[1]);
}
constexpr uint32_t loadU32(const uint8_t* p, Endian e) {
  return e == Endian::Little ? uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24)
                             : (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}
constexpr void storeU16(uint8_t* p, uint16_t v, Endian e) {
  if (e == Endian::Little) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
  } else {
    p[0] = uint8_t(v >> 8);
    p[1] = uint8_t(v);
  }
}
constexpr void storeU32(uint8_t* p, uint32_t v, Endian e) {
  for (int i = 0; i < 4; ++i) {
    const int shift = e == Endian::Little ? 8 * i : 8 * (3 - i);
    p[i] = uint8_t(v >> shift);
  }
}

// Appends values to a growing byte buffer in one chosen byte order.
class ByteWriter {
 public:
  explicit ByteWriter(Endian endian = Endian::Little) : endian_(endian) {}

  Endian endian() const { return endian_; }
  void setEndian(Endian endian) { endian_ = endian; }

  void u8(uint8_t v) { bytes_.push_back(v); }
  void s8(int8_t v) { u8(uint8_t(v)); }
  void u16(uint16_t v);
  void s16(int16_t v) { u16(uint16_t(v)); }
  void u32(uint32_t v);
  void s32(int32_t v) { u32(uint32_t(v)); }
  void bytes(std::span<const uint8_t> data) { bytes_.insert(bytes_.end(), data.begin(), data.end()); }
  void text(std::string_view s) { bytes_.insert(bytes_.end(), s.begin(), s.end()); }
  // Writes s into a field of exactly `width` bytes, padded with zero bytes
  // (the caller checks that s fits).
  void fixedText(std::string_view s, size_t width);
  void zeros(size_t count) { bytes_.insert(bytes_.end(), count, 0); }
  // Pads with `fill` until size() is a multiple of `alignment`.
  void padTo(size_t alignment, uint8_t fill = 0);

  // Overwrites a value written earlier (offsets computed before they were known).
  // Throws std::out_of_range when the field lies outside what was written.
  void patchU16(size_t offset, uint16_t v);
  void patchU32(size_t offset, uint32_t v);

  size_t size() const { return bytes_.size(); }
  const std::vector<uint8_t>& data() const { return bytes_; }
  std::vector<uint8_t> take() { return std::move(bytes_); }

 private:
  Endian endian_;
  std::vector<uint8_t> bytes_;
};

// A bounds-checked cursor over bytes. The first read past the end sets a
// sticky error that names the offset; later reads return zeros, so a parser
// may read a whole record and check ok() once.
class ByteReader {
 public:
  ByteReader(std::span<const uint8_t> data, Endian endian) : data_(data), endian_(endian) {}

  Endian endian() const { return endian_; }
  void setEndian(Endian endian) { endian_ = endian; }

  uint8_t u8();
  int8_t s8() { return int8_t(u8()); }
  uint16_t u16();
  int16_t s16() { return int16_t(u16()); }
  uint32_t u32();
  int32_t s32() { return int32_t(u32()); }
  // Returns the next `count` bytes, or an empty span after an error.
  std::span<const uint8_t> bytes(size_t count);
  void skip(size_t count) { (void)bytes(count); }
  // Moves to an absolute offset; an offset past the end is an error.
  void seek(size_t offset);

  size_t offset() const { return offset_; }
  size_t size() const { return data_.size(); }
  size_t remaining() const { return data_.size() - offset_; }
  bool atEnd() const { return offset_ >= data_.size(); }
  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }

 private:
  bool take(size_t count);

  std::span<const uint8_t> data_;
  Endian endian_;
  size_t offset_ = 0;
  std::string error_;
};

}  // namespace common
