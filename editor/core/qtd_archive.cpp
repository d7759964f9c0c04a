#include "qtd_archive.h"

#include <array>

#include "common/output.h"

namespace vtq {
namespace {

constexpr uint16_t kNullTag = 0x0000;
constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kClassTag = 0x8000;
constexpr uint16_t kBigObjectTag = 0x7FFF;
constexpr uint32_t kBigClassTag = 0x80000000;
// Class names longer than this are not ours (the framework's limit).
constexpr uint16_t kMaxClassNameLength = 63;

struct ClassName {
  ArchiveClass cls;
  const char* name;
};
constexpr std::array<ClassName, 5> kClassNames = {{
    {ArchiveClass::CCommand, "CCommand"},
    {ArchiveClass::CParam, "CParam"},
    {ArchiveClass::CAbility, "CAbility"},
    {ArchiveClass::CAnimation, "CAnimation"},
    {ArchiveClass::CPlaySound, "CPlaySound"},
}};

}  // namespace

std::optional<ArchiveClass> archiveClassNamed(std::string_view name) {
  for (const ClassName& c : kClassNames) {
    if (name == c.name) return c.cls;
  }
  return std::nullopt;
}

const char* archiveClassName(ArchiveClass cls) { return kClassNames[size_t(cls)].name; }

bool isParamClass(ArchiveClass cls) { return cls != ArchiveClass::CCommand; }

void ArchiveWriter::writeCount(uint32_t count) {
  if (count < 0xFFFF) {
    out_.u16(uint16_t(count));
  } else {
    out_.u16(0xFFFF);
    out_.u32(count);
  }
}

void ArchiveWriter::writeString(std::string_view text) {
  const size_t length = text.size();
  if (length < 0xFF) {
    out_.u8(uint8_t(length));
  } else if (length < 0xFFFE) {
    out_.u8(0xFF);
    out_.u16(uint16_t(length));
  } else {
    out_.u8(0xFF);
    out_.u16(0xFFFF);
    out_.u32(uint32_t(length));
  }
  out_.text(text);
}

void ArchiveWriter::beginObject(ArchiveClass cls) {
  for (const auto& [known, number] : classNumbers_) {
    if (known != cls) continue;
    if (number < kBigObjectTag) {
      out_.u16(uint16_t(kClassTag | number));
    } else {
      out_.u16(kBigObjectTag);
      out_.u32(kBigClassTag | number);
    }
    ++nextNumber_;  // the object
    return;
  }
  const std::string_view name = archiveClassName(cls);
  out_.u16(kNewClassTag);
  out_.u16(kArchiveSchema);
  out_.u16(uint16_t(name.size()));
  out_.text(name);
  classNumbers_.emplace_back(cls, nextNumber_++);
  ++nextNumber_;  // the object
}

uint32_t ArchiveReader::readCount() {
  const uint16_t count = in_.u16();
  if (count != 0xFFFF) return count;
  const size_t at = in_.offset();
  const uint32_t big = in_.u32();
  if (big == 0xFFFFFFFF) fail(ArchiveErrorKind::Format, at, "a 64-bit count");
  return ok() ? big : 0;
}

std::string ArchiveReader::readString() {
  const size_t at = in_.offset();
  uint32_t length = in_.u8();
  if (length == 0xFF) {
    length = in_.u16();
    if (length == 0xFFFE) {
      fail(ArchiveErrorKind::Format, at, "a string of wide characters");
      return {};
    }
    if (length == 0xFFFF) {
      length = in_.u32();
      if (length == 0xFFFFFFFF) {
        fail(ArchiveErrorKind::Format, at, "a string with a 64-bit length");
        return {};
      }
    }
  }
  if (!ok()) return {};
  if (length > in_.remaining()) {
    fail(ArchiveErrorKind::Format, at,
         common::format("a string of %u characters with only %zu bytes left", unsigned(length), in_.remaining()));
    return {};
  }
  const auto chars = in_.bytes(length);
  return std::string(chars.begin(), chars.end());
}

ArchiveReader::Tag ArchiveReader::readTag() {
  const size_t at = in_.offset();
  const uint16_t word = in_.u16();
  if (!ok()) return {};
  if (word == kNewClassTag) return readNewClass(at);
  const uint32_t tag = word == kBigObjectTag ? in_.u32() : (uint32_t(word & kClassTag) << 16) | (word & ~kClassTag);
  if (!ok()) return {};
  if (tag & kBigClassTag) {
    const uint32_t number = tag & ~kBigClassTag;
    if (number == 0 || number >= entries_.size() || !entries_[number].isClass) {
      fail(ArchiveErrorKind::Format, at, common::format("an object of class number %u, which is not a class", number));
      return {};
    }
    return {Tag::NewObject, entries_[number].cls, nullptr};
  }
  if (tag == kNullTag) return {};
  if (tag >= entries_.size() || entries_[tag].isClass) {
    fail(ArchiveErrorKind::Format, at, common::format("a reference to object number %u, which was not read", tag));
    return {};
  }
  return {Tag::Reference, entries_[tag].cls, entries_[tag].object};
}

ArchiveReader::Tag ArchiveReader::readNewClass(size_t tagOffset) {
  const uint16_t schema = in_.u16();
  const uint16_t length = in_.u16();
  if (!ok()) return {};
  if (length > kMaxClassNameLength) {
    fail(ArchiveErrorKind::UnexpectedObject, tagOffset, common::format("a class name of %u characters", length));
    return {};
  }
  const auto chars = in_.bytes(length);
  if (!ok()) return {};
  const std::string name(chars.begin(), chars.end());
  const auto cls = archiveClassNamed(name);
  if (!cls) {
    fail(ArchiveErrorKind::UnexpectedObject, tagOffset, "the unknown class \"" + name + "\"");
    return {};
  }
  if (schema != kArchiveSchema) {
    fail(ArchiveErrorKind::Schema, tagOffset, common::format("class %s with schema %u", name.c_str(), schema));
    return {};
  }
  entries_.push_back({true, *cls, nullptr});
  return {Tag::NewObject, *cls, nullptr};
}

void ArchiveReader::registerObject(ArchiveClass cls, const void* object) { entries_.push_back({false, cls, object}); }

void ArchiveReader::fail(ArchiveErrorKind kind, size_t offset, std::string detail) {
  if (!error_) error_ = ArchiveError{kind, offset, std::move(detail)};
}

ArchiveError ArchiveReader::error() const {
  if (error_) return *error_;
  if (!in_.ok()) return ArchiveError{ArchiveErrorKind::Format, in_.offset(), in_.error()};
  return {};
}

}  // namespace vtq
