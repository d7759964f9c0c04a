// Registration of MIDI setups and the outside tool run that makes each new
// setup's song file in the output directory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace voconv {

class Conversion;

// The command that turns a setup's MIDI or arrangement file into its song
// file: mid2trk for MIDI files, kvtool for ".arr" files and names without an
// extension. `line` is the command line as shown (an empty argument leaves
// two blanks); `argv` holds the arguments the tool gets (empty ones left out).
struct ToolCommand {
  std::string line;
  std::vector<std::string> argv;
};
ToolCommand songToolCommand(const Conversion& conversion, const std::string& fileName, const std::string& inputPath,
                            const std::string& outputPath);

// The ID of the MIDI setup `name`. A setup seen before keeps its ID and is not
// converted again; a new one gets the next ID and its song file is made by the
// outside tool. Returns 0xFFFF when the tool failed (the setup stays
// registered under its ID).
uint16_t midiSetupId(Conversion& conversion, const std::string& name, const std::string& fileName);

}  // namespace voconv
