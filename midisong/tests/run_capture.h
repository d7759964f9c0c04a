// A SongRun whose outputs go to strings, for calling the library directly.
#pragma once

#include <sstream>
#include <string>

#include "midisong/midi_reader.h"
#include "midisong/song_run.h"

namespace midisong_test {

struct Capture {
  explicit Capture(midisong::Target target = midisong::Target::GameBoy,
                   const midisong::ReleaseProfile& release = midisong::kCurrentRelease)
      : run(release, out, err) {
    run.target = target;
    run.endian = target == midisong::Target::Advance ? common::Endian::Little : common::Endian::Big;
  }

  std::string text() const { return outText.str(); }
  std::string errors() const { return errText.str(); }

  // Reads `bytes` with the list mode of the run's target.
  int read(const std::vector<uint8_t>& bytes, midisong::MidiImage& image) {
    return midisong::readMidiBytes(bytes, "song.mid", image, midisong::listModeFor(run.target), run);
  }

  std::ostringstream outText;
  std::ostringstream errText;
  common::Output out{outText};
  common::Output err{errText};
  midisong::SongRun run;
};

}  // namespace midisong_test
