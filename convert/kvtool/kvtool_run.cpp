#include "kvtool_run.h"

#include "arrangement_file.h"
#include "common/paths.h"
#include "convert/foundation/project_file.h"
#include "midisong/messages.h"
#include "midisong/midi_reader.h"
#include "midisong/song_arrangement.h"
#include "midisong/song_writers.h"

namespace kvtool {

namespace {

constexpr const char* kUsage = "Usage: kvtool [-B] <arrangement> <song>\n -B  write the song big-endian\n";

int convert(const Arrangement& arrangement, const std::string& songPath, common::Endian endian, common::Output& out,
            common::Output& err) {
  midisong::SongRun run(midisong::kCurrentRelease, out, err);
  run.program = "kvtool";
  run.target = midisong::Target::Nintendo64;
  run.endian = endian;
  midisong::MidiImage image;
  midisong::SongArrangement song;
  // The MIDI file is named by project data: a regular file only, never a pipe.
  std::vector<uint8_t> bytes;
  std::string error;
  if (!voconv::readProjectFile(arrangement.midiFile, bytes, error)) {
    run.say(midisong::kMsgCannotOpenInput);
    return kExitFailed;
  }
  const std::string name = arrangement.midiFile.string();
  if (midisong::readMidiBytes(bytes, name, image, midisong::listModeFor(run.target), run) != 0) return kExitFailed;
  if (midisong::arrangeSong(image, song, midisong::trackLimitFor(run.target), run) != 0) return kExitFailed;
  midisong::dropEmptyPatterns(song, midisong::TargetFamily::Console);
  midisong::numberPatterns(song);
  if (midisong::writeN64Song(common::pathFromName(songPath), song, image, endian, run) != 0) return kExitFailed;
  out.print("Done.\n");
  return kExitDone;
}

}  // namespace

bool parseKvtoolCommandLine(const std::vector<std::string>& args, KvtoolCommandLine& line, std::string& error) {
  // Empty arguments are no arguments: the converter's command form has an
  // empty switch for little-endian songs.
  std::vector<std::string> rest;
  line.endian = common::Endian::Little;
  for (const std::string& a : args) {
    if (a.empty()) continue;
    if (rest.empty() && a[0] == '-') {
      if (a != "-B" && a != "-b") {
        error = "kvtool: unknown option " + a + "\n" + kUsage;
        return false;
      }
      line.endian = common::Endian::Big;
      continue;
    }
    rest.push_back(a);
  }
  if (rest.size() != 2) {
    error = kUsage;
    return false;
  }
  line.arrangementPath = rest[0];
  line.songPath = rest[1];
  return true;
}

int runKvtool(const std::vector<std::string>& args, common::Output& out, common::Output& err) {
  KvtoolCommandLine line;
  std::string error;
  if (!parseKvtoolCommandLine(args, line, error)) {
    err.print("%s", error.c_str());
    return kExitUsage;
  }
  Arrangement arrangement;
  if (!readArrangement(common::pathFromName(line.arrangementPath), arrangement, error)) {
    err.print("kvtool: %s\n", error.c_str());
    return kExitFailed;
  }
  out.print("Arrangement <%s> plays <%s>.\n", line.arrangementPath.c_str(),
            common::displayPath(arrangement.midiFile).c_str());
  return convert(arrangement, line.songPath, line.endian, out, err);
}

}  // namespace kvtool
