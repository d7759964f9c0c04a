#include "convert/targets/handheld/handheld_song_files.h"

#include <system_error>

#include "common/file_io.h"
#include "common/paths.h"
#include "convert/conversion.h"

namespace voconv {

std::optional<std::vector<uint8_t>> readSongFile(Conversion& c, const std::string& setupName) {
  // A song this run made is read where it was made; the slave ROM's songs,
  // which it does not make, are found in the output folder.
  const MidiSetup* setup = c.midiSetups.find(setupName);
  const std::filesystem::path path =
      setup && !setup->songFile.empty() ? setup->songFile : c.description.fileInOutputDirectory(setupName + ".song");
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    c.out.print("*** ERROR: Couldn't open MIDI arrangement file!\n");
    c.out.print("\t\"%s\"\n", common::displayPath(path).c_str());
    return std::nullopt;
  }
  std::vector<uint8_t> song;
  std::string error;
  if (!common::readWholeFile(path, song, error)) {
    c.out.print("*** ERROR: Couldn't read MIDI sequence!\n");
    c.out.print("*** %s\n", error.c_str());
    return std::nullopt;
  }
  return song;
}

void deleteSongFilesOfRun(Conversion& c) {
  for (const MidiSetup& setup : c.midiSetups.setups()) {
    if (setup.songFile.empty()) continue;
    std::error_code ec;
    std::filesystem::remove(setup.songFile, ec);
    if (ec) {
      c.out.print("*** Warning: Could not delete song file \"%s\": %s\n", common::displayPath(setup.songFile).c_str(),
                  ec.message().c_str());
    }
  }
}

}  // namespace voconv
