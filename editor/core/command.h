// One timed command of a cue document.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "param.h"
#include "smpte_time.h"

namespace vtq {

class CQuorlinVTQEditorDoc;

// The response time lies at most this many frames (255 s) after the insert time.
constexpr int32_t kMaxResponseDelayFrames = 255 * CSMPTETime::kFramesPerSecond;

class CCommand {
 public:
  explicit CCommand(CQuorlinVTQEditorDoc* document = nullptr);
  // Copies every field except the byte code text and the file name, which the
  // next MakeWave fills again.
  CCommand(const CCommand& other);
  CCommand& operator=(const CCommand&) = delete;
  // A copy that keeps the byte code text and the file name as well.
  std::unique_ptr<CCommand> cloneWhole() const;

  uint8_t commandCode() const { return commandCode_; }
  // Stores the code and gives the command a new parameter object with default
  // values of the class that the code requires, even when the class stays.
  void SetCommand(uint8_t code);
  // The COMMAND_STRING name of the code.
  std::string commandName() const;

  const CParam& param() const { return *param_; }
  CParam& param() { return *param_; }
  // Replaces the parameter object (used when loading).
  void setParam(std::unique_ptr<CParam> param) { param_ = std::move(param); }
  std::string GetDescription() const { return param_->GetDescription(); }

  CSMPTETime insertTime() const { return insertTime_; }
  // The stored response time (equal to the insert time while not timed).
  CSMPTETime responseTime() const { return responseTime_; }
  // The response time if timed, else the insert time.
  CSMPTETime effectiveResponseTime() const { return timed_ ? responseTime_ : insertTime_; }
  bool isTimed() const { return timed_ != 0; }
  int32_t timedFlag() const { return timed_; }
  // Clearing the flag sets the response time to the insert time.
  void SetTimed(bool timed);

  uint8_t retransmissions() const { return retransmissions_; }
  void setRetransmissions(uint8_t count) { retransmissions_ = count; }
  // One second per transmission: (retransmissions + 1) * 25 frames.
  CSMPTETime TransmissionLength() const { return CSMPTETime(uint32_t(retransmissions_ + 1) * 25); }

  // Moves the insert time by `delta` and the response time by the frame part of
  // `delta`; a response time that then lies before the insert time or more than
  // 255 s after it becomes the insert time.
  void Advance(CSMPTETime delta);
  // Moves the insert time to `t`, keeping the delay of a timed command.
  void MoveStart(CSMPTETime t);
  // Sets the response time to `t` with the insert time's frame number; fails
  // and changes nothing when that lies before the insert time or more than
  // 255 s after it.
  bool SetResponseTime(CSMPTETime t);

  const std::string& byteCodeText() const { return byteCodeText_; }
  const std::string& fileName() const { return fileName_; }

  // The command's identity within its document (0 until a document takes it
  // in). Copies start at 0; the document gives a serial on load and insert.
  uint64_t serial() const { return serial_; }
  void setSerial(uint64_t serial) { serial_ = serial; }

  CQuorlinVTQEditorDoc* document() const { return document_; }
  void setDocument(CQuorlinVTQEditorDoc* document) { document_ = document; }

  // The transmitted bytes: the command code and the parameter bytes. Returns
  // their count (1 to 4).
  int dataBytes(CommandBytes& bytes) const;
  // The delay in whole seconds sent with a timed command (0 when not timed).
  uint8_t durationByte() const;
  // "0x" and the data bytes as upper-case hex pairs.
  std::string makeByteCodeText() const;
  // The wave file name for the document base name `base`: base + hhmmssff + ".wav".
  std::string makeFileName(const std::string& base) const;

  // Writes the command's cue wave file into the document's folder at the
  // document's sample rate and, when that succeeded, sets the file name and the
  // byte code text. On failure returns false with a message that names the file;
  // the command's fields stay as they were.
  bool MakeWave(std::string& error);

  // Sets every field as a loaded document holds it (the parameter comes
  // separately through setParam).
  void setLoadedFields(CSMPTETime insert, CSMPTETime response, int32_t timed, uint8_t retransmissions, uint8_t code,
                       std::string fileName, std::string byteCodeText);

 private:
  std::string byteCodeText_;
  std::string fileName_;
  CSMPTETime insertTime_;
  int32_t timed_ = 0;
  CSMPTETime responseTime_;
  uint8_t retransmissions_ = 0;
  uint8_t commandCode_ = 0x10;
  std::unique_ptr<CParam> param_;
  CQuorlinVTQEditorDoc* document_ = nullptr;
  uint64_t serial_ = 0;
};

}  // namespace vtq
