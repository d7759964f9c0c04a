#include "command.h"

#include <cstdio>

#include "vocabulary.h"

namespace vtq {

CCommand::CCommand(CQuorlinVTQEditorDoc* document) : param_(std::make_unique<CParam>()), document_(document) {}

CCommand::CCommand(const CCommand& other)
    : insertTime_(other.insertTime_),
      timed_(other.timed_),
      responseTime_(other.responseTime_),
      retransmissions_(other.retransmissions_),
      commandCode_(other.commandCode_),
      param_(other.param_->clone()),
      document_(other.document_) {}

std::unique_ptr<CCommand> CCommand::cloneWhole() const {
  auto copy = std::make_unique<CCommand>(*this);
  copy->byteCodeText_ = byteCodeText_;
  copy->fileName_ = fileName_;
  return copy;
}

void CCommand::SetCommand(uint8_t code) {
  param_ = CParam::forCommand(code);
  commandCode_ = code;
}

std::string CCommand::commandName() const { return std::string(vocabularyName(Vocabulary::Command, commandCode_)); }

void CCommand::SetTimed(bool timed) {
  timed_ = timed ? 1 : 0;
  if (!timed) responseTime_ = insertTime_;
}

void CCommand::Advance(CSMPTETime delta) {
  insertTime_ += delta;
  responseTime_ += CSMPTETime(uint32_t(delta.frames()));
  if (responseTime_ < insertTime_ || responseTime_.frameCount() - insertTime_.frameCount() > kMaxResponseDelayFrames)
    responseTime_ = insertTime_;
}

void CCommand::MoveStart(CSMPTETime t) {
  const CSMPTETime delay = responseTime_ - insertTime_;
  insertTime_ = t;
  responseTime_ = timed_ ? t + delay : t;
}

bool CCommand::SetResponseTime(CSMPTETime t) {
  t.setFrames(uint32_t(insertTime_.frames()));
  if ((t - insertTime_).frameCount() > kMaxResponseDelayFrames) return false;
  responseTime_ = t;
  return true;
}

int CCommand::dataBytes(CommandBytes& bytes) const {
  bytes.fill(0);
  bytes[0] = commandCode_;
  return 1 + param_->GetByteCode(bytes);
}

uint8_t CCommand::durationByte() const {
  if (!timed_) return 0;
  const CSMPTETime delay = responseTime_ - insertTime_;
  return uint8_t(delay.minutes() * 60 + delay.seconds());
}

std::string CCommand::makeByteCodeText() const {
  CommandBytes bytes;
  const int count = dataBytes(bytes);
  std::string text = "0x";
  for (int i = 0; i < count; ++i) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X", bytes[size_t(i)]);
    text += hex;
  }
  return text;
}

std::string CCommand::makeFileName(const std::string& base) const { return base + insertTime_.digits() + ".wav"; }

void CCommand::setLoadedFields(CSMPTETime insert, CSMPTETime response, int32_t timed, uint8_t retransmissions,
                               uint8_t code, std::string fileName, std::string byteCodeText) {
  insertTime_ = insert;
  responseTime_ = response;
  timed_ = timed;
  retransmissions_ = retransmissions;
  commandCode_ = code;
  fileName_ = std::move(fileName);
  byteCodeText_ = std::move(byteCodeText);
}

}  // namespace vtq
