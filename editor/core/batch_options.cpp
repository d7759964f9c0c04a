#include "batch_options.h"

#include <algorithm>
#include <charconv>

#include "common/output.h"
#include "vocabulary.h"

namespace vtq {

const char* const kBatchUsage =
    "Usage: vtqedit --list DOC.qtd\n"
    "       vtqedit --add DOC.qtd --at HH:MM:SS:FF --command NAME [--param VALUE]\n"
    "               [--mode looped|once|icon] [--icon N] [--respond HH:MM:SS:FF]\n"
    "               [--repeat N] [--rate 44100|48000] [--ignore-conflict]\n"
    "       vtqedit --delete DOC.qtd --at HH:MM:SS:FF\n"
    "       vtqedit --make-waves DOC.qtd\n"
    "       vtqedit --render DOC.qtd TRACK.wav [--start HH:MM:SS:FF] [--length HH:MM:SS:FF]\n"
    "       vtqedit --check DOC.qtd MIX.wav [--start HH:MM:SS:FF] [--channel N] [--speed S]\n"
    "               [--min-margin DB] [--report FILE.csv]\n"
    "       vtqedit --shift DOC.qtd --by [-]HH:MM:SS:FF [--from HH:MM:SS:FF]\n"
    "               [--to HH:MM:SS:FF] [--ignore-conflict]\n"
    "       vtqedit --export DOC.qtd LIST.csv\n"
    "       vtqedit --import DOC.qtd LIST.csv [--ignore-conflict]\n"
    "NAME is KEEP_ALIVE, PLAY_SOUND, SHOW_ANIMATION, ENABLE_ABILITY, DISABLE_ABILITY,\n"
    "SELECT_ABILITY or STOP_ABILITY; VALUE is an ability, sound, voice or picture\n"
    "name, or a number.\n"
    "--render writes every command's transmission into one track; --check finds\n"
    "and decodes every cue in a mixed sound track (16 or 24-bit PCM, 44100 or\n"
    "48000 Hz; --channel counts from 1, default all channels summed); it fits the\n"
    "track's speed unless --speed gives it (1: none), marks cues whose margin is\n"
    "below --min-margin dB as at risk, and writes one CSV row per cue to --report.\n"
    "--shift moves the commands from --from to --to (both included; default all)\n"
    "by --by and writes their wave files. --export and --import exchange the\n"
    "commands as comma-separated text (tab-separated for .tsv).\n"
    "Exit codes: 0 done, 2 usage error, 3 conflicting transmissions, 4 file error,\n"
    "5 value out of range, 6 a cue missing, damaged, off its time or unexpected,\n"
    "7 every cue found but one at risk.\n";

namespace {

bool usage(BatchProblem& problem, std::string message) {
  problem = {kExitUsage, std::move(message)};
  return false;
}

bool range(BatchProblem& problem, std::string message) {
  problem = {kExitRange, std::move(message)};
  return false;
}

bool allDigits(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

struct ValueOption {
  const char* name;
  std::optional<std::string> BatchOptions::*field;
};

constexpr ValueOption kValueOptions[] = {
    {"--at", &BatchOptions::at},
    {"--command", &BatchOptions::command},
    {"--param", &BatchOptions::param},
    {"--mode", &BatchOptions::mode},
    {"--icon", &BatchOptions::icon},
    {"--respond", &BatchOptions::respond},
    {"--repeat", &BatchOptions::repeat},
    {"--rate", &BatchOptions::rate},
    {"--start", &BatchOptions::start},
    {"--length", &BatchOptions::length},
    {"--channel", &BatchOptions::channel},
    {"--speed", &BatchOptions::speed},
    {"--min-margin", &BatchOptions::minMargin},
    {"--report", &BatchOptions::report},
    {"--by", &BatchOptions::by},
    {"--from", &BatchOptions::from},
    {"--to", &BatchOptions::to},
};

struct ActionOption {
  const char* name;
  BatchAction action;
};

constexpr ActionOption kActionOptions[] = {
    {"--list", BatchAction::List},     {"--add", BatchAction::Add},
    {"--delete", BatchAction::Delete}, {"--make-waves", BatchAction::MakeWaves},
    {"--render", BatchAction::Render}, {"--check", BatchAction::Check},
    {"--shift", BatchAction::Shift},   {"--export", BatchAction::Export},
    {"--import", BatchAction::Import},
};

// The actions that name a sound file after the document.
bool takesSoundFile(BatchAction action) {
  return action == BatchAction::Render || action == BatchAction::Check || action == BatchAction::Export ||
         action == BatchAction::Import;
}

// The actions that take --ignore-conflict.
bool takesIgnoreConflict(BatchAction action) {
  return action == BatchAction::Add || action == BatchAction::Shift || action == BatchAction::Import;
}

// Which value options each action takes.
bool allowedWith(BatchAction action, std::string_view option) {
  static constexpr std::string_view kSoundFileOptions[] = {
      "--start", "--length", "--channel", "--speed", "--min-margin", "--report", "--by", "--from", "--to"};
  switch (action) {
    case BatchAction::Add:
      return std::find(std::begin(kSoundFileOptions), std::end(kSoundFileOptions), option) ==
             std::end(kSoundFileOptions);
    case BatchAction::Render: return option == "--start" || option == "--length";
    case BatchAction::Check:
      return option == "--start" || option == "--channel" || option == "--speed" || option == "--min-margin" ||
             option == "--report";
    case BatchAction::Delete: return option == "--at";
    case BatchAction::Shift: return option == "--by" || option == "--from" || option == "--to";
    default: return false;
  }
}

}  // namespace

bool parseBatchOptions(const std::vector<std::string>& args, BatchOptions& options, BatchProblem& problem) {
  options = BatchOptions{};
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.action = BatchAction::Help;
      return true;
    }
    if (arg == "--ignore-conflict") {
      options.ignoreConflict = true;
      continue;
    }
    bool known = false;
    for (const ActionOption& a : kActionOptions) {
      if (arg != a.name) continue;
      known = true;
      if (options.action != BatchAction::None)
        return usage(problem,
                     "give only one of --list, --add, --delete, --make-waves, --render, --check, --shift, --export "
                     "and --import");
      if (i + 1 >= args.size()) return usage(problem, arg + " needs a document");
      options.action = a.action;
      options.document = args[++i];
      if (takesSoundFile(a.action)) {
        const bool list = a.action == BatchAction::Export || a.action == BatchAction::Import;
        if (i + 1 >= args.size())
          return usage(problem,
                       arg + (list ? " needs a document and a list file" : " needs a document and a wave file"));
        options.soundFile = args[++i];
      }
    }
    for (const ValueOption& v : kValueOptions) {
      if (arg != v.name) continue;
      known = true;
      if (i + 1 >= args.size()) return usage(problem, arg + " needs a value");
      if (options.*v.field) return usage(problem, arg + " is given twice");
      options.*v.field = args[++i];
    }
    if (!known) return usage(problem, "unknown argument \"" + arg + "\"");
  }
  if (options.action == BatchAction::None) return usage(problem, "no action given");
  for (const ValueOption& v : kValueOptions) {
    if (options.*v.field && !allowedWith(options.action, v.name))
      return usage(problem, std::string(v.name) + " does not go with this action");
  }
  if (options.ignoreConflict && !takesIgnoreConflict(options.action))
    return usage(problem, "--ignore-conflict goes with --add, --shift and --import only");
  if ((options.action == BatchAction::Add || options.action == BatchAction::Delete) && !options.at)
    return usage(problem, "--at is missing");
  if (options.action == BatchAction::Add && !options.command) return usage(problem, "--command is missing");
  if (options.action == BatchAction::Shift && !options.by) return usage(problem, "--by is missing");
  return true;
}

bool parseBounded(const std::string& text, const char* option, uint64_t low, uint64_t high, uint64_t& value,
                  BatchProblem& problem) {
  if (!allDigits(text)) return usage(problem, common::format("%s needs a number, not \"%s\"", option, text.c_str()));
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || value < low || value > high)
    return range(problem, common::format("%s %s is out of range (%llu to %llu)", option, text.c_str(),
                                         (unsigned long long)low, (unsigned long long)high));
  return true;
}

bool parseTimeCode(const std::string& text, const char* option, CSMPTETime& time, BatchProblem& problem) {
  // Four fields of one or two digits separated by colons.
  uint32_t fields[4] = {0, 0, 0, 0};
  size_t field = 0;
  size_t digits = 0;
  bool wellFormed = !text.empty();
  for (char c : text) {
    if (c == ':' && digits > 0 && field < 3) {
      ++field;
      digits = 0;
    } else if (c >= '0' && c <= '9' && digits < 2) {
      fields[field] = fields[field] * 10 + uint32_t(c - '0');
      ++digits;
    } else {
      wellFormed = false;
      break;
    }
  }
  if (!wellFormed || field != 3 || digits == 0)
    return usage(problem, common::format("%s needs HH:MM:SS:FF, not \"%s\"", option, text.c_str()));
  if (fields[0] > 23 || fields[1] > 59 || fields[2] > 59 || fields[3] > 24)
    return range(problem,
                 common::format("%s %s is not a time code of the day at 25 frames a second", option, text.c_str()));
  time = CSMPTETime(fields[0], fields[1], fields[2], fields[3]);
  return true;
}

bool parameterId(const std::string& value, ParamKind kind, const char* option, uint32_t& id, BatchProblem& problem) {
  const uint64_t limit = kind == ParamKind::Ability ? 0xFF : 0xFFFF;
  uint64_t number = 0;
  if (!value.empty() && value[0] >= '0' && value[0] <= '9') {
    if (!parseBounded(value, option, 0, limit, number, problem)) return false;
    id = uint32_t(number);
    return true;
  }
  std::optional<uint16_t> found;
  switch (kind) {
    case ParamKind::Ability: found = vocabularyId(Vocabulary::Ability, value); break;
    case ParamKind::Animation: found = vocabularyId(Vocabulary::Picture, value); break;
    case ParamKind::PlaySound:
      found = vocabularyId(Vocabulary::Sound, value);
      if (!found) found = vocabularyId(Vocabulary::Voice, value);
      break;
    case ParamKind::Plain: break;
  }
  if (!found) {
    const char* what = kind == ParamKind::Ability     ? "an ability"
                       : kind == ParamKind::Animation ? "a picture"
                                                      : "a sound or voice";
    return usage(problem, "\"" + value + "\" is not " + what + " name");
  }
  id = *found;
  return true;
}

namespace {

bool applyAnimationOptions(const BatchOptions& options, CAnimation& animation, BatchProblem& problem) {
  if (options.mode) {
    if (*options.mode == "looped") {
      animation.mode = CAnimation::kLooped;
    } else if (*options.mode == "once") {
      animation.mode = CAnimation::kOnce;
    } else if (*options.mode == "icon") {
      animation.mode = CAnimation::kIcon;
    } else {
      return usage(problem, "--mode is looped, once or icon, not \"" + *options.mode + "\"");
    }
  }
  if (options.icon) {
    // Icon numbers count from 1 and fill the document's byte, as the window
    // numbers them (long animations go past 31); the byte code keeps their
    // low five bits.
    uint64_t number = 0;
    if (!parseBounded(*options.icon, "--icon", 1, 255, number, problem)) return false;
    if (options.mode && animation.mode != CAnimation::kIcon) return usage(problem, "--icon goes with --mode icon");
    animation.mode = CAnimation::kIcon;
    animation.iconNumber = uint8_t(number);
  }
  return true;
}

bool applyParameter(const BatchOptions& options, CCommand& command, BatchProblem& problem) {
  CParam& param = command.param();
  if ((options.mode || options.icon) && param.kind() != ParamKind::Animation)
    return usage(problem, "--mode and --icon go with SHOW_ANIMATION only");
  if (options.param && param.kind() == ParamKind::Plain)
    return usage(problem, command.commandName() + " takes no parameter");
  uint32_t id = 0;
  if (options.param && !parameterId(*options.param, param.kind(), "--param", id, problem)) return false;
  switch (param.kind()) {
    case ParamKind::Ability: static_cast<CAbility&>(param).abilityId = uint8_t(id); break;
    case ParamKind::PlaySound: static_cast<CPlaySound&>(param).soundId = uint16_t(id); break;
    case ParamKind::Animation:
      static_cast<CAnimation&>(param).pictureId = uint16_t(id);
      return applyAnimationOptions(options, static_cast<CAnimation&>(param), problem);
    case ParamKind::Plain: break;
  }
  return true;
}

}  // namespace

std::unique_ptr<CCommand> buildCommand(const BatchOptions& options, BatchProblem& problem) {
  auto command = std::make_unique<CCommand>();
  const auto code = vocabularyId(Vocabulary::Command, *options.command);
  if (!code) {
    usage(problem, "unknown command \"" + *options.command + "\"");
    return nullptr;
  }
  command->SetCommand(uint8_t(*code));
  if (!applyParameter(options, *command, problem)) return nullptr;

  uint64_t repeat = 0;
  if (options.repeat && !parseBounded(*options.repeat, "--repeat", 0, 15, repeat, problem)) return nullptr;
  command->setRetransmissions(uint8_t(repeat));

  CSMPTETime at;
  if (!parseTimeCode(*options.at, "--at", at, problem)) return nullptr;
  command->MoveStart(at);
  if (options.respond) {
    CSMPTETime respond;
    if (!parseTimeCode(*options.respond, "--respond", respond, problem)) return nullptr;
    command->SetTimed(true);
    if (!command->SetResponseTime(respond)) {
      range(problem, "--respond " + *options.respond + " is not 0 to 255 seconds after --at " + *options.at);
      return nullptr;
    }
  }
  return command;
}

}  // namespace vtq
