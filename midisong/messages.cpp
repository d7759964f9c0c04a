#include "messages.h"

namespace midisong {
namespace {

constexpr const char* kTexts[kMessageCount] = {
    "File type: %s\nTracks: %d\t\tTicks per beat: %d\n",
    "Single Track",
    "Syncronous",
    "Asyncronous",
    "*** Warning: Unknown MIDI SysEx event encountered.",
    "*** Illegal data encountered while reading tracks.",
    "*** Filetype is not supported.",
    "*** File contains more than 256 tracks. Unable to convert.",
    "*** File is no valid MIDI file.",
    "*** Could not open input file.",
    "*** More than one Start-Loop marker found!",
    "*** More than one End-Loop marker found!",
    "*** End-Loop marker cannot be equal or before Start-Loop marker.",
    "*** Unbalanced Loop markers found! Must have exactly one start and one end marker!",
    "*** Could not allocate pattern memory.",
    "*** Could not allocate track memory.",
    "Used BPM rate: %d,   Loop:",
    "Initial BPM rate: %d,   Loop:",
    " (none)",
    "Warning: Note distance too large!!! Arrangement may not be correct!\n",
    "*** Could not write destination file.",
    "*** 32-bit format does not support more than 64 tracks.",
    "*** Illegal option found on command line.",
    "Target is: ",
    "Done.",
    "MID2TRK [options] <MIDI-file> <song-file>\n"
    "-G        Game Boy format\n"
    "-A        Advance Game Boy format\n"
    "-N        Nintendo 64 format\n"
    "-D        Dolphin format\n"
    "-P        Nintendo 64 format, little-endian",
    "*** Target platform does not support multiple loop sections.",
    "*** MIDI file <%s> ends inside track %d (byte %d).",
    "*** MIDI file <%s> gives 0 ticks per beat.",
    "*** Warning: Set-tempo event of 0 microseconds per beat ignored (track %d, byte %d).",
    "*** Song too long: its times do not fit the 32 bits of the song file.",
};

}  // namespace

const char* messageText(int number) {
  if (number < 1 || number > kMessageCount) return "";
  return kTexts[number - 1];
}

}  // namespace midisong
