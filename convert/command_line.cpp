#include "command_line.h"

#include "common/paths.h"
#include "convert/conversion.h"
#include "convert/exit_codes.h"

namespace voconv {

namespace {

// The argument after an option that takes one; null when there is none.
const std::string* optionArgument(const std::vector<std::string>& args, size_t& i, Conversion& c, char letter) {
  if (i + 1 >= args.size()) {
    c.out.print("*** Option -%c must be followed by a value.\n", letter);
    return nullptr;
  }
  return &args[++i];
}

// Selects the target named by `name`; false when the run must end.
bool selectTarget(const std::string& name, const TargetTable& targets, Conversion& c, int& exitCode) {
  RunSettings& s = c.settings;
  const TargetDescriptor* d = targets.find(name);
  if (d && d->announcement115.empty() && !c.release.knowsGameBoyAdvance) d = nullptr;
  if (d) {
    s.target = d;
    if (d->setsAssemblerInclude) s.assemblerInclude = true;
    if (d->setsSlaveRom) s.slaveRom = true;
    if (!d->lowerCaseSpelling.empty() && name == d->lowerCaseSpelling) s.lowerCaseHandheldName = true;
    c.out.write(c.release.separateSlaveRomMessage ? d->announcement : d->announcement115);
  } else if (c.release.unknownTargetIsFatal) {
    c.out.print("*** ERROR: Selected target is unknown!\n");
    exitCode = kExitUnknownTarget;
    return false;
  } else {
    c.out.print("*** Default target is still set, because target is unknown.\n");
  }
  return true;
}

// Options that only switch a setting and say so.
struct SwitchOption {
  char letter;
  bool RunSettings::*setting;
  bool value;
  const char* message;
};
constexpr SwitchOption kSwitches[] = {
    {'a', &RunSettings::assemblerInclude, true, "Include file format is switched to assembler.\n"},
    {'b', &RunSettings::bigEndian, true, "Data format switched to big endian.\n"},
    {'d', &RunSettings::defaultSampleTypeOnly, true, "All samples will use default the sample type.\n"},
    {'s', &RunSettings::convertSamples, false, "Samples will NOT be converted.\n"},
};

bool addBasePath(const std::string& path, Conversion& c, int& exitCode) {
  if (!c.basePaths.add(path)) {
    c.out.print("*** Too many project base paths; at most %zu can be added.\n", BasePaths::kMaxEntries - 1);
    exitCode = kExitFailureReported;
    return false;
  }
  c.out.print("Project base path <%s> is added.\n", path.c_str());
  return true;
}

// Reads the option at args[i] (and its value, moving i past it); false when
// the run must end.
bool readOption(const std::vector<std::string>& args, size_t& i, const TargetTable& targets, Conversion& c,
                int& exitCode) {
  const std::string& arg = args[i];
  const char letter = arg.size() > 1 ? arg[1] : '\0';
  for (const SwitchOption& option : kSwitches) {
    if (option.letter == letter) {
      c.settings.*option.setting = option.value;
      c.out.print("%s", option.message);
      return true;
    }
  }
  if (letter == 'v') {
    if (arg == "-v") {
      c.settings.verbose = true;
      c.out.print("Verbose mode is activated.\n");
    } else if (arg[2] == 's') {
      c.settings.showStatistics = true;
    }
    return true;
  }
  if (letter != 'p' && letter != 't') return true;  // other letters are ignored
  const std::string* value = optionArgument(args, i, c, letter);
  if (!value) {
    exitCode = kExitFailureReported;
    return false;
  }
  return letter == 'p' ? addBasePath(*value, c, exitCode) : selectTarget(*value, targets, c, exitCode);
}

}  // namespace

void printUsage(Conversion& c) {
  c.out.print("Usage: VOCONV <options> <export-script> [<export-script>...] <project-desc>\n");
  c.out.print(" -a         Generate assembler include file (default is C)\n");
  c.out.print(" -b         All data will be suitable for big endian systems\n");
  c.out.print(" -p <path>  Add project base path\n");
  c.out.write(c.release.targetUsage);
  c.out.print(" -s         Disable sample processing\n");
  c.out.print(" -d         Use only default sample type\n");
  c.out.print(" -v         Enable verbose mode\n");
  c.out.print(" -vs        Shows data statistics for converted project (GB only)\n");
  c.out.print("\n");
}

std::optional<size_t> readOptions(const std::vector<std::string>& args, Conversion& c, int& exitCode,
                                  const TargetTable& targets) {
  size_t i = 0;
  for (; i < args.size() && !args[i].empty() && args[i][0] == '-'; ++i) {
    if (!readOption(args, i, targets, c, exitCode)) return std::nullopt;
  }
  c.settings.target = &targets.runTarget(c.settings.target, c.settings.slaveRom);
  return i;
}

}  // namespace voconv
