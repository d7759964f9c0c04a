// kvtool's arrangement file: a short text file that names the MIDI file a
// song plays.
//
//   ; comments start with ';'
//   midi = theme.mid      the MIDI file, relative to the arrangement's folder
//
// Keys are compared without regard to case; each may appear once.
#pragma once

#include <filesystem>
#include <string>

namespace kvtool {

struct Arrangement {
  std::filesystem::path midiFile;  // resolved against the arrangement's folder
};

// Reads an arrangement; on failure returns false with `error` naming the file
// and the line.
bool readArrangement(const std::filesystem::path& path, Arrangement& arrangement, std::string& error);
bool parseArrangement(const std::string& text, const std::filesystem::path& path, Arrangement& arrangement,
                      std::string& error);

}  // namespace kvtool
