#include "song_conversion.h"

#include "common/paths.h"

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

ToolCommand songToolCommand(const SongToolSettings& settings, const std::string& fileName, const std::string& inputPath,
                            const std::string& outputPath) {
  const std::string extension = extensionOfName(fileName);
  std::string tool;
  std::string option;
  if (extension.empty() || common::equalsIgnoringCase(extension, ".arr")) {
    tool = "kvtool";
    option = settings.bigEndian ? "-B" : "";
  } else {
    tool = "mid2trk";
    option = settings.midiOption;
  }
  ToolCommand command;
  command.line = tool + " " + option + " " + inputPath + " " + outputPath;
  command.argv.push_back(tool);
  if (!option.empty()) command.argv.push_back(option);
  command.argv.push_back(inputPath);
  command.argv.push_back(outputPath);
  return command;
}

// The song file of setup `name`; false (printed) when the private song
// folder cannot be made.
bool SongRuns::songFile(const std::string& name, std::filesystem::path& file) {
  SongFolder* folder = settings_.privateFolder;
  if (!folder) {
    file = common::joinPath(settings_.outputDirectory, name + ".song");
    return true;
  }
  std::string error;
  if (folder->path().empty() && !folder->create(settings_.outputDirectory, error)) {
    out_.print("*** %s\n", error.c_str());
    failed_ = true;
    return false;
  }
  file = common::joinPath(folder->path(), name + ".song");
  return true;
}

bool SongRuns::make(MidiSetupRegistry& setups, uint16_t id, const std::string& name, const std::string& fileName,
                    const std::string& script, int line) {
  const std::filesystem::path inputPath = basePaths_.resolve("MIDIfiles\\" + fileName);
  const std::string input = common::displayPath(inputPath);
  if (!settings_.makesSongs) return true;
  // Checked here, not where the tool opens it: a FIFO swapped in between is
  // not caught.
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(inputPath, ec);
  if (!ec && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    out_.print("*** MIDI file <%s> is not a regular file.\n*** In <%s>, line %d.\n", input.c_str(), script.c_str(),
               line);
    failed_ = true;
    return false;
  }
  std::filesystem::path songFile;
  if (!this->songFile(name, songFile)) return false;
  const std::string output = common::displayPath(songFile);
  out_.print("Using external tool to convert <%s>...\n", input.c_str());
  const ToolCommand command = songToolCommand(settings_, fileName, input, output);
  if (verbose_) out_.print("CMD: %s\n", command.line.c_str());
  const ToolResult result = runTool_(command.argv);
  if (result.exitCode == 0) {
    setups.recordSongFile(id, songFile);
    return true;
  }
  out_.print("*** Warning: Error %d while executing external program.\n", result.exitCode);
  if (!result.output.empty()) {
    out_.write(result.output);
    if (result.output.back() != '\n') out_.write("\n");
  }
  failed_ = true;
  return false;
}

}  // namespace voconv
