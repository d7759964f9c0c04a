#include "song_conversion.h"

#include "common/paths.h"
#include "convert/conversion.h"
#include "convert/foundation/object_id.h"

namespace voconv {

namespace {

// The part of a file name from its last '.', "" when it has none.
std::string extensionOfName(const std::string& fileName) {
  const size_t dot = fileName.rfind('.');
  if (dot == std::string::npos) return {};
  const size_t separator = fileName.find_last_of("\\/");
  if (separator != std::string::npos && separator > dot) return {};
  return fileName.substr(dot);
}

}  // namespace

ToolCommand songToolCommand(const Conversion& c, const std::string& fileName, const std::string& inputPath,
                            const std::string& outputPath) {
  const std::string extension = extensionOfName(fileName);
  std::string tool;
  std::string option;
  if (extension.empty() || common::equalsIgnoringCase(extension, ".arr")) {
    tool = "kvtool";
    option = c.settings.bigEndian ? "-B" : "";
  } else {
    tool = "mid2trk";
    if (c.settings.target == Target::GameBoy) option = "-G";
    else if (c.settings.target == Target::GameBoyAdvance) option = "-A";
    else option = c.settings.bigEndian ? "-N" : "-P";
  }
  ToolCommand command;
  command.line = tool + " " + option + " " + inputPath + " " + outputPath;
  command.argv.push_back(tool);
  if (!option.empty()) command.argv.push_back(option);
  command.argv.push_back(inputPath);
  command.argv.push_back(outputPath);
  return command;
}

uint16_t midiSetupId(Conversion& c, const std::string& name, const std::string& fileName) {
  if (const MidiSetup* known = c.midiSetups.find(name)) return known->id;
  const uint16_t id = c.midiSetups.add(name).id;
  const std::string input = common::displayPath(c.basePaths.resolve("MIDIfiles\\" + fileName));
  if (c.settings.slaveRom) return id;
  const std::filesystem::path songFile = c.description.fileInOutputDirectory(name + ".song");
  const std::string output = common::displayPath(songFile);
  c.out.print("Using external tool to convert <%s>...\n", input.c_str());
  const ToolCommand command = songToolCommand(c, fileName, input, output);
  c.verbosePrint("CMD: %s\n", command.line.c_str());
  const ToolResult result = c.runTool(command.argv);
  if (result.exitCode == 0) {
    c.midiSetups.recordSongFile(id, songFile);
    return id;
  }
  c.out.print("*** Warning: Error %d while executing external program.\n", result.exitCode);
  if (!result.output.empty()) {
    c.out.write(result.output);
    if (result.output.back() != '\n') c.out.write("\n");
  }
  c.reportFailure();
  return kNoObject;
}

}  // namespace voconv
