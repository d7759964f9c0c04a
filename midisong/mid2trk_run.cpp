#include "mid2trk_run.h"

#include "command_line.h"
#include "messages.h"
#include "midi_reader.h"
#include "song_arrangement.h"
#include "song_writers.h"

namespace midisong {
namespace {

int printUsage(SongRun& run) {
  run.say(kMsgUsage);
  run.out.write("\n");
  return kExitFailed;
}

int writeSong(const std::string& path, const SongArrangement& song, const MidiImage& image, SongRun& run) {
  switch (run.target) {
    case Target::GameBoy: return writeGameBoySong(path, song, image.ticksPerBeat, run.endian, run);
    case Target::Advance: return writeAdvanceSong(path, song, image.ticksPerBeat, run.endian, run);
    default: return writeN64Song(path, song, image, run.endian, run);
  }
}

int convert(const std::string& midiPath, const std::string& songPath, SongRun& run) {
  MidiImage image;
  SongArrangement song;
  if (readMidiFile(midiPath, image, listModeFor(run.target), run) != 0) return kExitFailed;
  if (arrangeSong(image, song, trackLimitFor(run.target), run) != 0) return kExitFailed;
  dropEmptyPatterns(song, familyOf(run.target));
  numberPatterns(song);
  if (familyOf(run.target) == TargetFamily::Console && song.trackCount > trackLimitFor(run.target)) {
    run.say(kMsgTooManySongTracks);
    return kExitFailed;
  }
  if (!songTimesFit(song, unitsPerBeatFor(run.target), image.ticksPerBeat)) {
    run.say(kMsgSongTooLong);
    return kExitFailed;
  }
  if (writeSong(songPath, song, image, run) != 0) return kExitFailed;
  run.say(kMsgDone);
  return kExitDone;
}

}  // namespace

int runMid2trk(const std::vector<std::string>& args, SongRun& run) {
  run.out.write(run.release.banner);
  Mid2trkCommandLine line;
  switch (parseMid2trkCommandLine(args, run.release, line)) {
    case CommandLineResult::Usage: return printUsage(run);
    case CommandLineResult::IllegalOption: run.say(kMsgIllegalOption); return printUsage(run);
    case CommandLineResult::Ok: break;
  }
  run.target = line.target;
  run.endian = line.endian;
  run.sayBare(kMsgTargetIs);
  run.out.write(line.targetName);
  run.out.write("\n");
  return convert(line.midiPath, line.songPath, run);
}

}  // namespace midisong
