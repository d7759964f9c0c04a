// Loads everything the selected groups of a handheld project need into the
// conversion's target object list: a page object and MIDI setup objects per
// song group, an effect object per effect group, then the macros, tables and
// samples the groups reference that this project writes (each reference
// list in entry order).
#pragma once

namespace voconv {

class Conversion;

// Clears the target object list first. Prints the verbose "Including ..."
// lines and every failure's message; the first failure ends the loading
// and returns false.
bool loadHandheldObjects(Conversion& c);

}  // namespace voconv
