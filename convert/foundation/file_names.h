// Names from project data that become file names in the output folder (a MIDI
// setup's name gives its song file): they must name a file there and nowhere
// else.
#pragma once

#include <string_view>

namespace voconv {

// False for an empty name and for one that holds a path separator ('/' or
// '\\', both accepted in names from scripts), "..", a drive prefix ("C:") or a
// control character.
bool namesFileInOutputFolder(std::string_view name);

}  // namespace voconv
