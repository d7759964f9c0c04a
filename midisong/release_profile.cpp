#include "release_profile.h"

#include "messages.h"

namespace midisong {

const ReleaseProfile kCurrentRelease = {
    "MID2TRK - GM-File converter V1.32\n"
    "Converts Standard MIDI Files into song files for console sound drivers.\n"
    "Written for the KESH audio toolset.\n"
    "\n",
    "GANDP",
    messageText(kMsgUsage),
    messageText(kMsgTooManySongTracks),
    LoopScope::PerChannel,
    N64TempoWord::BpmWithLoopFlag,
};

const ReleaseProfile kRelease129g = {
    "MID2TRK - GM-File converter v1.29g\n"
    "Converts Standard MIDI Files into song files for console sound drivers.\n"
    "Written for the KESH audio toolset.\n"
    "\n",
    "GN",
    "MID2TRK [options] <MIDI-file> <song-file>\n"
    "-G        Game Boy format\n"
    "-N        Nintendo 64 format\n",
    "*** Nintendo 64 format does not support more than 64 tracks.",
    LoopScope::WholeFile,
    N64TempoWord::PlainBpm,
};

}  // namespace midisong
