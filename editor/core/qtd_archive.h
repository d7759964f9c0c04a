// The persistent-object stream that .qtd files use (the archive format of the
// MFC class library), as far as the editor's classes need it. Little-endian.
//
// Classes and objects are numbered together in order of first appearance,
// starting at 1 (0 is the null pointer). An object record starts with a tag:
//   0xFFFF          a new class follows: schema (16 bits), name length (16
//                   bits), name; the class and then the object take the next
//                   numbers, then the object's fields follow
//   0x8000 | n      an object of the class numbered n, then its fields
//   0x0000          a null pointer
//   1 .. 0x7FFE     a reference to the object read under that number
//   0x7FFF          escape: a 32-bit tag follows, 0x80000000 | n for a known
//                   class, the object number otherwise (for numbers that do
//                   not fit in 15 bits)
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/byte_order.h"

namespace vtq {

// The classes a .qtd file may name, all of schema 1.
enum class ArchiveClass { CCommand, CParam, CAbility, CAnimation, CPlaySound };

std::optional<ArchiveClass> archiveClassNamed(std::string_view name);
const char* archiveClassName(ArchiveClass cls);
bool isParamClass(ArchiveClass cls);

constexpr uint16_t kArchiveSchema = 1;

class ArchiveWriter {
 public:
  explicit ArchiveWriter(common::ByteWriter& out) : out_(out) {}

  // 16 bits, or 0xFFFF and 32 bits for counts of 0xFFFF or more.
  void writeCount(uint32_t count);
  // A length prefix (1 byte below 255, 0xFF and 16 bits below 0xFFFE, else
  // 0xFF, 0xFFFF and 32 bits) and the characters.
  void writeString(std::string_view text);
  // The tag of a new object of class `cls`; the fields follow.
  void beginObject(ArchiveClass cls);

  common::ByteWriter& out() { return out_; }

 private:
  common::ByteWriter& out_;
  std::vector<std::pair<ArchiveClass, uint32_t>> classNumbers_;
  uint32_t nextNumber_ = 1;
};

enum class ArchiveErrorKind { Format, Schema, UnexpectedObject };

struct ArchiveError {
  ArchiveErrorKind kind = ArchiveErrorKind::Format;
  size_t offset = 0;   // where the offending record or value starts
  std::string detail;  // what is wrong, for the curious reader of the message
};

class ArchiveReader {
 public:
  struct Tag {
    enum Kind { Null, NewObject, Reference } kind = Null;
    ArchiveClass cls = ArchiveClass::CParam;  // of a new object, or of the referenced object
    const void* object = nullptr;             // the referenced object
  };

  explicit ArchiveReader(std::span<const uint8_t> bytes) : in_(bytes, common::Endian::Little) {}

  common::ByteReader& in() { return in_; }

  uint32_t readCount();
  std::string readString();
  // Reads an object tag. A new class is registered; the caller registers the
  // new object with registerObject before reading its fields.
  Tag readTag();
  void registerObject(ArchiveClass cls, const void* object);

  // The first failure; later reads return zeros.
  bool ok() const { return !error_ && in_.ok(); }
  ArchiveError error() const;
  void fail(ArchiveErrorKind kind, size_t offset, std::string detail);

 private:
  struct Entry {
    bool isClass;
    ArchiveClass cls;
    const void* object;
  };
  Tag readNewClass(size_t tagOffset);

  common::ByteReader in_;
  std::vector<Entry> entries_{Entry{false, ArchiveClass::CParam, nullptr}};  // number 0: null
  std::optional<ArchiveError> error_;
};

}  // namespace vtq
