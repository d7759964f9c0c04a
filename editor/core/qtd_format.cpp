#include "qtd_format.h"

namespace vtq {
namespace {

ArchiveClass classOf(const CParam& param) {
  switch (param.kind()) {
    case ParamKind::Ability: return ArchiveClass::CAbility;
    case ParamKind::Animation: return ArchiveClass::CAnimation;
    case ParamKind::PlaySound: return ArchiveClass::CPlaySound;
    case ParamKind::Plain: break;
  }
  return ArchiveClass::CParam;
}

std::unique_ptr<CParam> newParamOf(ArchiveClass cls) {
  switch (cls) {
    case ArchiveClass::CAbility: return std::make_unique<CAbility>();
    case ArchiveClass::CAnimation: return std::make_unique<CAnimation>();
    case ArchiveClass::CPlaySound: return std::make_unique<CPlaySound>();
    default: return std::make_unique<CParam>();
  }
}

void writeCommand(ArchiveWriter& archive, const CCommand& command) {
  common::ByteWriter& out = archive.out();
  archive.beginObject(ArchiveClass::CCommand);
  out.u32(uint32_t(command.insertTime().frameCount()));
  out.u32(uint32_t(command.responseTime().frameCount()));
  archive.beginObject(classOf(command.param()));
  command.param().Serialize(out);
  out.s32(command.timedFlag());
  out.u8(command.retransmissions());
  out.u8(command.commandCode());
  out.u32(0);  // a former document pointer
  archive.writeString(command.fileName());
  archive.writeString(command.byteCodeText());
}

// A parameter record. A reference to a parameter read before gets a copy of
// it, so that every command owns its own parameter.
std::unique_ptr<CParam> readParam(ArchiveReader& archive) {
  const size_t at = archive.in().offset();
  const ArchiveReader::Tag tag = archive.readTag();
  if (!archive.ok()) return nullptr;
  if (tag.kind == ArchiveReader::Tag::Null) {
    archive.fail(ArchiveErrorKind::UnexpectedObject, at, "a command without its parameter object");
    return nullptr;
  }
  if (!isParamClass(tag.cls)) {
    archive.fail(ArchiveErrorKind::UnexpectedObject, at,
                 std::string("a ") + archiveClassName(tag.cls) + " where a parameter belongs");
    return nullptr;
  }
  if (tag.kind == ArchiveReader::Tag::Reference) return static_cast<const CParam*>(tag.object)->clone();
  auto param = newParamOf(tag.cls);
  archive.registerObject(tag.cls, param.get());
  param->Serialize(archive.in());
  return param;
}

// Copies made for references may together take no more than a small multiple
// of the file's size, so that a file of references cannot multiply a long string.
size_t cloneCost(const CCommand& command) {
  return sizeof(CCommand) + sizeof(CAnimation) + command.fileName().size() + command.byteCodeText().size();
}

// The same command twice in the list becomes two commands of their own.
std::unique_ptr<CCommand> copyOfReferencedCommand(ArchiveReader& archive, const ArchiveReader::Tag& tag, size_t at,
                                                  size_t& cloneBudget) {
  const auto& original = *static_cast<const CCommand*>(tag.object);
  const size_t cost = cloneCost(original);
  if (cost > cloneBudget) {
    archive.fail(ArchiveErrorKind::Format, at, "more references to commands than the file can hold");
    return nullptr;
  }
  cloneBudget -= cost;
  return original.cloneWhole();
}

std::unique_ptr<CCommand> readCommand(ArchiveReader& archive, size_t& cloneBudget) {
  const size_t at = archive.in().offset();
  const ArchiveReader::Tag tag = archive.readTag();
  if (!archive.ok()) return nullptr;
  if (tag.kind == ArchiveReader::Tag::Null || tag.cls != ArchiveClass::CCommand) {
    archive.fail(ArchiveErrorKind::UnexpectedObject, at,
                 tag.kind == ArchiveReader::Tag::Null
                     ? std::string("an empty entry in the command list")
                     : std::string("a ") + archiveClassName(tag.cls) + " where a command belongs");
    return nullptr;
  }
  if (tag.kind == ArchiveReader::Tag::Reference) return copyOfReferencedCommand(archive, tag, at, cloneBudget);

  auto command = std::make_unique<CCommand>();
  archive.registerObject(ArchiveClass::CCommand, command.get());
  common::ByteReader& in = archive.in();
  const CSMPTETime insert(in.u32());
  const CSMPTETime response(in.u32());
  auto param = readParam(archive);
  if (!archive.ok()) return nullptr;
  const int32_t timed = in.s32();
  const uint8_t retransmissions = in.u8();
  const uint8_t code = in.u8();
  in.skip(4);
  std::string fileName = archive.readString();
  std::string byteCodeText = archive.readString();
  if (!archive.ok()) return nullptr;
  command->setLoadedFields(insert, response, timed, retransmissions, code, std::move(fileName),
                           std::move(byteCodeText));
  command->setParam(std::move(param));
  return command;
}

}  // namespace

std::vector<uint8_t> writeQtd(const CCmdArray& commands, int32_t sampleRate) {
  common::ByteWriter out(common::Endian::Little);
  ArchiveWriter archive(out);
  archive.writeCount(uint32_t(commands.size()));
  for (const auto& command : commands) writeCommand(archive, *command);
  out.s32(sampleRate);
  return out.take();
}

bool readQtd(std::span<const uint8_t> bytes, QtdContent& content, ArchiveError& error) {
  ArchiveReader archive(bytes);
  content = QtdContent{};
  const uint32_t count = archive.readCount();
  size_t cloneBudget = (size_t(1) << 20) + 4 * bytes.size();
  // No reservation by the count: every record takes bytes, so a false count
  // ends at the end of the data instead of allocating for it.
  for (uint32_t i = 0; i < count && archive.ok(); ++i) {
    auto command = readCommand(archive, cloneBudget);
    if (command) content.commands.append(std::move(command));
  }
  content.sampleRate = archive.in().s32();
  if (!archive.ok()) {
    error = archive.error();
    content = QtdContent{};
    return false;
  }
  return true;
}

}  // namespace vtq
