// CCommand::MakeWave: the cue wave file of one command.
//
// The file holds 10 ms of silence, the packet, and for each retransmission
// 50 ms of silence and the packet again. It is named after the document and
// the insert time ("scene00010203.wav") and written into the document's folder
// at the document's sample rate.
#include "command.h"
#include "common/output.h"
#include "common/paths.h"
#include "cue_transmission.h"
#include "cue_wave_writer.h"
#include "document.h"

namespace vtq {

bool CCommand::MakeWave(std::string& error) {
  if (document_ == nullptr) {
    error = "the command belongs to no document";
    return false;
  }
  const std::string name = makeFileName(document_->baseName());
  const std::filesystem::path path = document_->directory() / name;
  const int32_t rate = document_->sampleRate();
  if (!CCueWaveWriter::hasPulseFor(uint32_t(rate))) {
    // Any other rate would give a file without a transmission in it.
    error = common::format("cannot write %s: the sample rate %d Hz is not 44100 or 48000 Hz",
                           common::displayPath(path).c_str(), rate);
    return false;
  }

  CCueWaveWriter writer;
  if (writer.open(path, uint32_t(rate)) != CWaveFile::kOk) {
    error = writer.waveFile().error();
    return false;
  }
  writeTransmission(*this, writer);
  if (writer.close() != CWaveFile::kOk) {
    error = writer.waveFile().error();
    return false;
  }
  fileName_ = name;
  byteCodeText_ = makeByteCodeText();
  return true;
}

}  // namespace vtq
