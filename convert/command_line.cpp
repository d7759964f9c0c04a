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
bool selectTarget(const std::string& name, Conversion& c, int& exitCode) {
  RunSettings& s = c.settings;
  const bool separateSlave = c.release.separateSlaveRomMessage;
  if (common::equalsIgnoringCase(name, "N64")) {
    s.target = Target::Nintendo64;
    c.out.print("Target is set to N64.\n");
  } else if (common::equalsIgnoringCase(name, "GB")) {
    s.target = Target::GameBoy;
    s.assemblerInclude = true;
    if (name == "gb") s.lowerCaseHandheldName = true;
    c.out.print("Target is set to GameBoy.\n");
  } else if (common::equalsIgnoringCase(name, "GBSLAVE")) {
    s.target = Target::GameBoy;
    s.assemblerInclude = true;
    s.slaveRom = true;
    c.out.print(separateSlave ? "Target is set to Game Boy.\n" : "Target is set to GameBoy.\n");
  } else if (c.release.knowsGameBoyAdvance && common::equalsIgnoringCase(name, "AGB")) {
    s.target = Target::GameBoyAdvance;
    c.out.print("Target is set to Game Boy Advance.\n");
  } else if (c.release.unknownTargetIsFatal) {
    c.out.print("*** ERROR: Selected target is unknown!\n");
    exitCode = kExitUnknownTarget;
    return false;
  } else {
    c.out.print("*** Default target is still set, because target is unknown.\n");
  }
  return true;
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

std::optional<size_t> readOptions(const std::vector<std::string>& args, Conversion& c, int& exitCode) {
  RunSettings& s = c.settings;
  size_t i = 0;
  for (; i < args.size() && !args[i].empty() && args[i][0] == '-'; ++i) {
    const std::string& arg = args[i];
    const char letter = arg.size() > 1 ? arg[1] : '\0';
    switch (letter) {
      case 'a':
        s.assemblerInclude = true;
        c.out.print("Include file format is switched to assembler.\n");
        break;
      case 'b':
        s.bigEndian = true;
        c.out.print("Data format switched to big endian.\n");
        break;
      case 'd':
        s.defaultSampleTypeOnly = true;
        c.out.print("All samples will use default the sample type.\n");
        break;
      case 's':
        s.convertSamples = false;
        c.out.print("Samples will NOT be converted.\n");
        break;
      case 'v':
        if (arg == "-v") {
          s.verbose = true;
          c.out.print("Verbose mode is activated.\n");
        } else if (arg[2] == 's') {
          s.showStatistics = true;
        }
        break;
      case 'p': {
        const std::string* path = optionArgument(args, i, c, 'p');
        if (!path) {
          exitCode = kExitFailureReported;
          return std::nullopt;
        }
        if (!c.basePaths.add(*path)) {
          c.out.print("*** Too many project base paths; at most %zu can be added.\n", BasePaths::kMaxEntries - 1);
          exitCode = kExitFailureReported;
          return std::nullopt;
        }
        c.out.print("Project base path <%s> is added.\n", path->c_str());
        break;
      }
      case 't': {
        const std::string* name = optionArgument(args, i, c, 't');
        if (!name) {
          exitCode = kExitFailureReported;
          return std::nullopt;
        }
        if (!selectTarget(*name, c, exitCode)) return std::nullopt;
        break;
      }
      default:
        break;  // other letters are ignored
    }
  }
  return i;
}

}  // namespace voconv
