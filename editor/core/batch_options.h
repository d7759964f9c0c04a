// The command line of vtqedit's batch mode, which works on documents without
// a window:
//   --list DOC.qtd
//   --add DOC.qtd --at HH:MM:SS:FF --command NAME [--param VALUE]
//         [--mode looped|once|icon] [--icon N] [--respond HH:MM:SS:FF]
//         [--repeat N] [--rate 44100|48000] [--ignore-conflict]
//   --delete DOC.qtd --at HH:MM:SS:FF
//   --make-waves DOC.qtd
//   --render DOC.qtd TRACK.wav [--start HH:MM:SS:FF] [--length HH:MM:SS:FF]
//   --check DOC.qtd MIX.wav [--start HH:MM:SS:FF] [--channel N] [--speed S]
//         [--min-margin DB] [--report FILE.csv]
//   --shift DOC.qtd --by [-]HH:MM:SS:FF [--from HH:MM:SS:FF] [--to HH:MM:SS:FF]
//         [--ignore-conflict]
//   --export DOC.qtd LIST.csv
//   --import DOC.qtd LIST.csv [--ignore-conflict]
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "command.h"

namespace vtq {

// Exit codes of the batch mode.
constexpr int kExitDone = 0;
constexpr int kExitUsage = 2;
constexpr int kExitConflict = 3;
constexpr int kExitFile = 4;
constexpr int kExitRange = 5;
constexpr int kExitCheckFailed = 6;  // --check: a cue is missing, damaged, off its time, or unexpected
constexpr int kExitCheckAtRisk = 7;  // --check: every cue found, but one's margin is below --min-margin

extern const char* const kBatchUsage;

enum class BatchAction { None, Help, List, Add, Delete, MakeWaves, Render, Check, Shift, Export, Import };

struct BatchOptions {
  BatchAction action = BatchAction::None;
  std::string document;
  std::string soundFile;  // the track of --render, the mix of --check, the list of --export and --import
  std::optional<std::string> at, command, param, mode, icon, respond, repeat, rate;
  std::optional<std::string> start, length, channel, speed, minMargin, report;
  std::optional<std::string> by, from, to;  // --shift
  bool ignoreConflict = false;
};

// A failure of parsing or checking the command line: its exit code (usage or
// range) and the message.
struct BatchProblem {
  int exitCode = kExitUsage;
  std::string message;
};

// Splits the arguments. Returns false with a usage problem for an unknown
// option, a missing value, no action or more than one.
bool parseBatchOptions(const std::vector<std::string>& args, BatchOptions& options, BatchProblem& problem);

// Reads "HH:MM:SS:FF" strictly: a malformed text is a usage problem, a field
// out of its range (hours 0-23, minutes and seconds 0-59, frames 0-24) a range
// problem.
bool parseTimeCode(const std::string& text, const char* option, CSMPTETime& time, BatchProblem& problem);

// A decimal number without sign within [low, high]: text that is not a number
// is a usage problem, a number outside the range a range problem.
bool parseBounded(const std::string& text, const char* option, uint64_t low, uint64_t high, uint64_t& value,
                  BatchProblem& problem);

// The id that a parameter value names for a parameter of `kind` (as --param
// takes it): a name of the fitting table(s), or a number that fits the field.
// `option` names the value in messages.
bool parameterId(const std::string& value, ParamKind kind, const char* option, uint32_t& id, BatchProblem& problem);

// Builds the command that --add describes (not yet tied to a document).
std::unique_ptr<CCommand> buildCommand(const BatchOptions& options, BatchProblem& problem);

}  // namespace vtq
