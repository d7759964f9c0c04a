// Reads a Standard MIDI File (format 0 or 1) into a MidiImage.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "midi_event.h"
#include "song_run.h"

namespace midisong {

// How channel messages are spread over the lists of a MidiImage.
enum class ListMode {
  PerChannel,  // list = MIDI channel; always used for format-0 files
  PerTrack,    // list = number of the track chunk
};

// The list mode a target reads with: per channel for the handheld targets,
// per track for Nintendo 64 and Dolphin (format-0 files switch to per channel).
constexpr ListMode listModeFor(Target target) {
  return familyOf(target) == TargetFamily::Handheld ? ListMode::PerChannel : ListMode::PerTrack;
}

// Fills `image` from the file at `path`. Prints the file report and any error
// through `run`; returns 0 on success, -1 on failure. For the handheld targets
// (run.target) the same-tick order of notes is fixed afterwards (fixNoteOrder).
int readMidiFile(const std::filesystem::path& path, MidiImage& image, ListMode mode, SongRun& run);

// Same, from bytes already in memory; `name` stands for the file in messages.
int readMidiBytes(std::span<const uint8_t> bytes, const std::string& name, MidiImage& image, ListMode mode,
                  SongRun& run);

}  // namespace midisong
