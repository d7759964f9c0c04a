// The outside tool runs that make each new MIDI setup's song file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "common/output.h"
#include "convert/foundation/base_paths.h"
#include "convert/tools/midi_setups.h"
#include "convert/tools/song_folder.h"
#include "convert/tools/tool_run.h"

namespace voconv {

// What the target and the options make of the song tools.
struct SongToolSettings {
  bool makesSongs = true;               // the slave ROM takes its songs from the Game Boy's run
  std::string midiOption;               // mid2trk's song format: "-G", "-A", "-N" or "-P"
  bool bigEndian = false;               // kvtool gets "-B"
  std::string outputDirectory;          // where the songs are made ("" is the current folder)
  SongFolder* privateFolder = nullptr;  // else here, made with the first song
};

// The command that turns a setup's MIDI or arrangement file into its song
// file: mid2trk for MIDI files, kvtool for ".arr" files and names without an
// extension. `line` is the command line as shown (an empty argument leaves
// two blanks); `argv` holds the arguments the tool gets (empty ones left out).
struct ToolCommand {
  std::string line;
  std::vector<std::string> argv;
};
ToolCommand songToolCommand(const SongToolSettings& settings, const std::string& fileName, const std::string& inputPath,
                            const std::string& outputPath);

// The song tool runs of one conversion.
class SongRuns {
 public:
  SongRuns(SongToolSettings settings, const BasePaths& basePaths, ToolRunner runTool, common::Output& out, bool verbose)
      : settings_(std::move(settings)),
        basePaths_(basePaths),
        runTool_(std::move(runTool)),
        out_(out),
        verbose_(verbose) {}

  // Makes the song of setup `id` (named `name`, registered in `setups`) from
  // the file `fileName` under "MIDIfiles", named at `line` of `script`; false
  // (with its message printed) when the file is there but not a regular file
  // (the tool would wait on it forever) or the tool failed.
  bool make(MidiSetupRegistry& setups, uint16_t id, const std::string& name, const std::string& fileName,
            const std::string& script, int line);
  // Whether a tool failed in this run.
  bool failed() const { return failed_; }

 private:
  SongToolSettings settings_;
  const BasePaths& basePaths_;
  ToolRunner runTool_;
  common::Output& out_;
  bool verbose_;
  bool songFile(const std::string& name, std::filesystem::path& file);

  bool failed_ = false;
};

}  // namespace voconv
