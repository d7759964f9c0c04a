#include "byte_order.h"

#include <stdexcept>

namespace common {

void ByteWriter::u16(uint16_t v) {
  uint8_t b[2];
  storeU16(b, v, endian_);
  bytes_.insert(bytes_.end(), b, b + 2);
}

void ByteWriter::u32(uint32_t v) {
  uint8_t b[4];
  storeU32(b, v, endian_);
  bytes_.insert(bytes_.end(), b, b + 4);
}

void ByteWriter::fixedText(std::string_view s, size_t width) {
  const size_t n = s.size() < width ? s.size() : width;
  text(s.substr(0, n));
  zeros(width - n);
}

void ByteWriter::padTo(size_t alignment, uint8_t fill) {
  if (alignment == 0) return;
  while (bytes_.size() % alignment != 0) bytes_.push_back(fill);
}

void ByteWriter::patchU16(size_t offset, uint16_t v) {
  if (offset > bytes_.size() || bytes_.size() - offset < 2) throw std::out_of_range("ByteWriter::patchU16");
  storeU16(bytes_.data() + offset, v, endian_);
}

void ByteWriter::patchU32(size_t offset, uint32_t v) {
  if (offset > bytes_.size() || bytes_.size() - offset < 4) throw std::out_of_range("ByteWriter::patchU32");
  storeU32(bytes_.data() + offset, v, endian_);
}

bool ByteReader::take(size_t count) {
  if (!ok()) return false;
  if (count > remaining()) {
    error_ = "unexpected end of data at offset " + std::to_string(offset_) + " (" + std::to_string(count) +
             " bytes wanted, " + std::to_string(remaining()) + " left)";
    offset_ = data_.size();
    return false;
  }
  return true;
}

uint8_t ByteReader::u8() {
  if (!take(1)) return 0;
  return data_[offset_++];
}

uint16_t ByteReader::u16() {
  if (!take(2)) return 0;
  const uint16_t v = loadU16(data_.data() + offset_, endian_);
  offset_ += 2;
  return v;
}

uint32_t ByteReader::u32() {
  if (!take(4)) return 0;
  const uint32_t v = loadU32(data_.data() + offset_, endian_);
  offset_ += 4;
  return v;
}

std::span<const uint8_t> ByteReader::bytes(size_t count) {
  if (!take(count)) return {};
  auto s = data_.subspan(offset_, count);
  offset_ += count;
  return s;
}

void ByteReader::seek(size_t offset) {
  if (!ok()) return;
  if (offset > data_.size()) {
    error_ = "seek to offset " + std::to_string(offset) + " past the end of " + std::to_string(data_.size()) + " bytes";
    offset_ = data_.size();
    return;
  }
  offset_ = offset;
}

}  // namespace common
