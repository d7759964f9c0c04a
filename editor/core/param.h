// The parameters of a cue command. A plain CParam serves the commands
// without parameters; CAbility, CAnimation and CPlaySound carry the fields of
// the commands that have them. The window edits them through dialogs of its
// own, chosen by kind(); the model knows nothing of them.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "common/byte_order.h"

namespace vtq {

enum class ParamKind { Plain, Ability, Animation, PlaySound };

// Command bytes of one transmission: byte 0 is the command code, bytes 1 to 3
// the parameter bytes.
using CommandBytes = std::array<uint8_t, 8>;

class CParam {
 public:
  CParam() = default;
  virtual ~CParam() = default;

  virtual ParamKind kind() const { return ParamKind::Plain; }
  // The class name stored in .qtd files.
  virtual const char* className() const { return "CParam"; }
  // A copy of the data fields (a window's dialog is never copied).
  virtual std::unique_ptr<CParam> clone() const { return std::unique_ptr<CParam>(new CParam(*this)); }

  // Stores or loads the fields as .qtd files hold them (little-endian).
  virtual void Serialize(common::ByteWriter&) const {}
  virtual void Serialize(common::ByteReader&) {}
  // Writes the parameter bytes into bytes[1], bytes[2], ... and returns their
  // count; bytes[0] is left for the command code.
  virtual int GetByteCode(CommandBytes&) const { return 0; }
  // The text of the list's "Parameters" column.
  virtual std::string GetDescription() const { return {}; }

  // A parameter object of the class that `commandCode` requires, with default
  // values: CPlaySound for 34, CAnimation for 83, CAbility for 113, 129 and
  // 145, a plain CParam for every other code.
  static std::unique_ptr<CParam> forCommand(uint8_t commandCode);
  static ParamKind kindForCommand(uint8_t commandCode);

 protected:
  CParam(const CParam&) = default;
  CParam& operator=(const CParam&) = default;
};

class CAbility : public CParam {
 public:
  ParamKind kind() const override { return ParamKind::Ability; }
  const char* className() const override { return "CAbility"; }
  std::unique_ptr<CParam> clone() const override { return std::make_unique<CAbility>(*this); }
  void Serialize(common::ByteWriter& out) const override;
  void Serialize(common::ByteReader& in) override;
  int GetByteCode(CommandBytes& bytes) const override;
  std::string GetDescription() const override;

  uint8_t abilityId = 0;
};

class CAnimation : public CParam {
 public:
  static constexpr uint8_t kLooped = 0x20;
  static constexpr uint8_t kIcon = 0x40;
  static constexpr uint8_t kOnce = 0x80;

  ParamKind kind() const override { return ParamKind::Animation; }
  const char* className() const override { return "CAnimation"; }
  std::unique_ptr<CParam> clone() const override { return std::make_unique<CAnimation>(*this); }
  void Serialize(common::ByteWriter& out) const override;
  void Serialize(common::ByteReader& in) override;
  int GetByteCode(CommandBytes& bytes) const override;
  std::string GetDescription() const override;

  uint16_t pictureId = 0;
  uint8_t mode = kLooped;
  uint8_t iconNumber = 1;
};

class CPlaySound : public CParam {
 public:
  ParamKind kind() const override { return ParamKind::PlaySound; }
  const char* className() const override { return "CPlaySound"; }
  std::unique_ptr<CParam> clone() const override { return std::make_unique<CPlaySound>(*this); }
  void Serialize(common::ByteWriter& out) const override;
  void Serialize(common::ByteReader& in) override;
  int GetByteCode(CommandBytes& bytes) const override;
  std::string GetDescription() const override;

  uint16_t soundId = 0;
};

}  // namespace vtq
