// Feeds arbitrary command lines (arguments separated by NUL bytes) to the
// batch mode's option parser and command builder, and arbitrary text to the
// time code readers (the signed one of --shift too). A command that is built must keep the model's
// invariants.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/batch_edits.h"
#include "core/batch_options.h"
#include "core/time_code_editing.h"
#include "fuzz/arguments.h"

namespace {

void checkCommand(const vtq::CCommand& command) {
  const int32_t delay = (command.responseTime() - command.insertTime()).frameCount();
  if (command.isTimed() && delay > vtq::kMaxResponseDelayFrames) std::abort();
  if (!command.isTimed() && command.responseTime() != command.insertTime()) std::abort();
  if (command.responseTime().frames() != command.insertTime().frames()) std::abort();
  if (command.retransmissions() > 15) std::abort();
  if (command.makeByteCodeText().size() < 4) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> args = fuzzing::splitArguments(data, size);
  vtq::BatchOptions options;
  vtq::BatchProblem problem;
  if (vtq::parseBatchOptions(args, options, problem) && options.action == vtq::BatchAction::Add) {
    if (auto command = vtq::buildCommand(options, problem)) checkCommand(*command);
  }
  int64_t shift = 0;
  if (vtq::parseSignedTimeCode(input, "--by", shift, problem) &&
      (shift <= -vtq::CSMPTETime::kFramesPerDay || shift >= vtq::CSMPTETime::kFramesPerDay))
    std::abort();

  const vtq::CSMPTETime read = vtq::CSMPTETime::fromText(input);
  if (read.frameCount() < 0 || read.frameCount() >= vtq::CSMPTETime::kFramesPerDay) std::abort();
  vtq::CSMPTETime strict;
  if (vtq::parseTimeCode(input, "--at", strict, problem) && strict.text() != input.substr(0, 11) && input.size() == 11)
    std::abort();
  for (size_t caret = 0; caret < 12 && caret < size; ++caret) {
    const auto typed = vtq::typeIntoTimeCodeField({read, caret}, input[caret]);
    if (typed && (typed->caret > 11 || typed->value.text().size() != 11)) std::abort();
  }
  return 0;
}
