// The song files ("<setup name>.song") that the outside tools leave for the
// handheld writers in the run's private song folder (the slave ROM, which
// makes none, finds them in the output folder), and their removal once the
// writers have copied them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace voconv {

class Conversion;

// The whole song file of setup `setupName`. Prints the error (with a line
// naming the file) and returns nothing when it cannot be opened or read.
std::optional<std::vector<uint8_t>> readSongFile(Conversion& c, const std::string& setupName);

// Deletes the song files that this run's outside tools made, those of setups
// the description did not select included. Song files that other runs or the
// user left in the output directory stay.
void deleteSongFilesOfRun(Conversion& c);

}  // namespace voconv
