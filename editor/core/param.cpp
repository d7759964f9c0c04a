#include "param.h"

#include "command_codes.h"
#include "vocabulary.h"

namespace vtq {

ParamKind CParam::kindForCommand(uint8_t commandCode) {
  switch (commandCode) {
    case kPlaySound: return ParamKind::PlaySound;
    case kShowAnimation: return ParamKind::Animation;
    case kEnableAbility:
    case kDisableAbility:
    case kSelectAbility: return ParamKind::Ability;
    default: return ParamKind::Plain;
  }
}

std::unique_ptr<CParam> CParam::forCommand(uint8_t commandCode) {
  switch (kindForCommand(commandCode)) {
    case ParamKind::PlaySound: return std::make_unique<CPlaySound>();
    case ParamKind::Animation: return std::make_unique<CAnimation>();
    case ParamKind::Ability: return std::make_unique<CAbility>();
    case ParamKind::Plain: break;
  }
  return std::make_unique<CParam>();
}

void CAbility::Serialize(common::ByteWriter& out) const { out.u8(abilityId); }
void CAbility::Serialize(common::ByteReader& in) { abilityId = in.u8(); }

int CAbility::GetByteCode(CommandBytes& bytes) const {
  bytes[1] = abilityId;
  return 1;
}

std::string CAbility::GetDescription() const { return std::string(vocabularyName(Vocabulary::Ability, abilityId)); }

void CAnimation::Serialize(common::ByteWriter& out) const {
  out.u16(pictureId);
  out.u8(iconNumber);
  out.u8(mode);
}

void CAnimation::Serialize(common::ByteReader& in) {
  pictureId = in.u16();
  iconNumber = in.u8();
  mode = in.u8();
}

int CAnimation::GetByteCode(CommandBytes& bytes) const {
  // In icon mode the low five bits carry the icon number. The picture id goes
  // high byte first.
  bytes[1] = mode == kIcon ? uint8_t(kIcon | (iconNumber & 0x1F)) : mode;
  bytes[2] = uint8_t(pictureId >> 8);
  bytes[3] = uint8_t(pictureId);
  return 3;
}

std::string CAnimation::GetDescription() const {
  std::string text(vocabularyName(Vocabulary::Picture, pictureId));
  if (mode == kIcon) {
    text += ", Icon " + std::to_string(iconNumber);
  } else if (mode == kLooped) {
    text += ", Looped";
  }
  return text;
}

void CPlaySound::Serialize(common::ByteWriter& out) const { out.u16(soundId); }
void CPlaySound::Serialize(common::ByteReader& in) { soundId = in.u16(); }

int CPlaySound::GetByteCode(CommandBytes& bytes) const {
  // Low byte first, unlike the picture id of CAnimation.
  bytes[1] = uint8_t(soundId);
  bytes[2] = uint8_t(soundId >> 8);
  return 2;
}

std::string CPlaySound::GetDescription() const {
  return std::string(vocabularyName(soundId < kFirstVoiceId ? Vocabulary::Sound : Vocabulary::Voice, soundId));
}

}  // namespace vtq
