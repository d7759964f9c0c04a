#include "run_driver.h"

#include "common/paths.h"
#include "convert/command_line.h"
#include "convert/conversion.h"
#include "convert/exit_codes.h"
#include "convert/foundation/fatal_error.h"
#include "convert/project/script_reading.h"
#include "convert/tools/song_folder.h"

namespace voconv {

namespace {

constexpr size_t kMaxExportScripts = 4;

// Before the first script, for the targets that read them: the macro
// definitions, which say where macro steps hold IDs.
bool readMacroDefinitionsFor(Conversion& c) {
  if (!c.settings.target->readsMacroDefinitions) return true;
  c.verbosePrint("Macrodefinitions:\n\n");
  CommandTable commands;
  if (!readMacroDefinitions(c.basePaths.resolve("macrodef.vqd"), commands, c.out, c.verbose())) return false;
  c.verbosePrint("\n\n");
  c.commands = std::move(commands);
  return true;
}

int readScripts(Conversion& c, const std::vector<std::string>& scripts, SongFolder& songFolder) {
  SongRuns songs(songToolSettings(c, &songFolder), c.basePaths, c.runTool, c.out, c.verbose());
  int exitCode = kExitDone;
  for (size_t s = 0; s < scripts.size() && exitCode == kExitDone; ++s) {
    c.out.print("Reading exported script file <%s>...\n", scripts[s].c_str());
    if ((s == 0 && !readMacroDefinitionsFor(c)) || !readExportScript(c, songs, scripts[s], int(s))) {
      exitCode = kExitScriptFailed;
    } else {
      c.out.print("Done.\n");
    }
  }
  if (songs.failed()) c.reportFailure();
  return exitCode;
}

int readInputs(const std::vector<std::string>& args, size_t first, Conversion& c, SongFolder& songFolder) {
  if (first >= args.size()) {
    c.out.print("*** No project description is given after the options.\n");
    c.reportFailure();
    return kExitFailureReported;
  }
  const std::vector<std::string> scripts(args.begin() + long(first), args.end() - 1);
  // Checked before anything is read, so that no outside tool has left a
  // song file behind when the run is refused.
  if (scripts.size() > kMaxExportScripts) {
    c.out.print("*** Too many export scripts to be merged.\n");
    return kExitScriptFailed;
  }
  c.out.print("Reading project description...\n");
  if (!readProjectDescription(common::pathFromName(args.back()), c.description, c.out, c.verbose())) {
    c.reportFailure();
    return kExitFailureReported;
  }
  c.out.print("Done.\n");
  return readScripts(c, scripts, songFolder);
}

}  // namespace

int runConversion(const std::vector<std::string>& args, Conversion& c, const TargetTable& targets, const RunDate& now) {
  c.out.write(c.release.banner);
  if (args.size() < 2) {
    printUsage(c);
    return kExitDone;
  }
  c.settings = RunSettings{};
  c.ids.clear();
  c.basePaths.clear();
  int exitCode = kExitDone;
  const std::optional<size_t> first = readOptions(args, c, exitCode, targets);
  if (!first) return exitCode;
  c.model.clear();
  c.midiSetups.clear();
  c.targetObjects.clear();
  SongFolder songFolder;  // made with the first handheld song, removed on every way out of the run
  try {
    exitCode = readInputs(args, *first, c, songFolder);
    if (exitCode != kExitDone) return exitCode;

    c.include =
        std::make_unique<IncludeFile>(c.settings.assemblerInclude ? IncludeForm::Assembler : IncludeForm::C, c.program);
    if (!c.include->open(c.description.includeFilePath)) {
      c.out.print("*** Could not write language include file.\n");
      c.out.print("*** %s\n", c.include->error().c_str());
      c.reportFailure();
      return kExitFailureReported;
    }
    c.now = now;
    c.include->writeHeader(c.release.version, now);
    c.settings.target->writer()->write(c);
  } catch (const FatalError& fatal) {
    c.out.print("%s\n", fatal.what());
    return fatal.exitCode();
  }
  if (!c.include->close()) {
    c.out.print("*** Could not write language include file.\n");
    c.out.print("*** %s\n", c.include->error().c_str());
    c.reportFailure();
  }
  return c.failed() ? kExitFailureReported : kExitDone;
}

}  // namespace voconv
