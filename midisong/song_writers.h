// The three song file writers. Each encodes a SongArrangement after
// dropEmptyPatterns and numberPatterns.
//
// The encode functions return the bytes of the song file; the write functions
// encode and then replace the file at `path` safely (a temporary file beside
// it, renamed over it), so a failed run leaves an existing song file as it was.
// Write functions return 0, or -1 after printing their message through `run`.
//
// Programs that build a SongArrangement of their own (not from a MIDI file)
// fill sequences, patterns (with numbers, tracks and starts), loopStart and
// loopEnd, loopSectionCount, bpm and trackCount, and create a SongRun with
// the release profile and their outputs.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "common/byte_order.h"
#include "midi_event.h"
#include "song_arrangement.h"
#include "song_run.h"

namespace midisong {

// Song time units per beat of a target.
uint32_t unitsPerBeatFor(Target target);

// Whether every time of the song, in the target's units, fits the 32 bits the
// layouts count with. Longer songs would wrap around (and could make the
// writers step over billions of units).
bool songTimesFit(const SongArrangement& song, uint32_t unitsPerBeat, uint32_t ticksPerBeat);

// Game Boy: 24 units per beat, tracks of MIDI channels 0 to 3 (big-endian as
// stored for the Game Boy). Notes more than 4095 units apart print the note
// distance warning on run.err.
std::vector<uint8_t> encodeGameBoySong(const SongArrangement& song, uint32_t ticksPerBeat, common::Endian order,
                                       SongRun& run);
int writeGameBoySong(const std::filesystem::path& path, const SongArrangement& song, uint32_t ticksPerBeat,
                     common::Endian order, SongRun& run);

// Game Boy Advance: 96 units per beat, channels 0 to 15 and the tempo track
// (little-endian as stored for the Game Boy Advance).
std::vector<uint8_t> encodeAdvanceSong(const SongArrangement& song, uint32_t ticksPerBeat, common::Endian order);
int writeAdvanceSong(const std::filesystem::path& path, const SongArrangement& song, uint32_t ticksPerBeat,
                     common::Endian order, SongRun& run);

// Nintendo 64 and Dolphin: 384 units per beat, up to 64 tracks. The image
// gives ticksPerBeat and the tempo list (lists[256]) for the tempo table;
// run.release chooses the header word at offset 16. Fails with more than 64
// tracks (the message is printed, no bytes are returned).
std::optional<std::vector<uint8_t>> encodeN64Song(const SongArrangement& song, const MidiImage& image,
                                                  common::Endian order, SongRun& run);
int writeN64Song(const std::filesystem::path& path, const SongArrangement& song, const MidiImage& image,
                 common::Endian order, SongRun& run);

}  // namespace midisong
