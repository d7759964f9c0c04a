#include "script_reading.h"

#include "common/file_io.h"
#include "common/paths.h"
#include "convert/conversion.h"
#include "convert/project/export_script.h"
#include "convert/project/script_merge.h"
#include "convert/targets/target_table.h"

namespace voconv {

SongToolSettings songToolSettings(const Conversion& c, SongFolder* privateFolder) {
  SongToolSettings songs;
  const TargetDescriptor& target = c.settings.target ? *c.settings.target : builtInTargets().defaultTarget();
  // The slave ROM flag stays set when a later -t names another target, and
  // no songs are made then either.
  songs.makesSongs = target.makesSongs && !c.settings.slaveRom;
  if (!target.songOption.empty())
    songs.midiOption = std::string(target.songOption);
  else
    songs.midiOption = c.settings.bigEndian ? "-N" : "-P";
  songs.bigEndian = c.settings.bigEndian;
  songs.outputDirectory = c.description.outputDirectory;
  if (target.songsInPrivateFolder && songs.makesSongs) songs.privateFolder = privateFolder;
  return songs;
}

bool readExportScriptText(Conversion& c, SongRuns& songs, std::string text, const std::string& name, int scriptIndex) {
  const ScriptModel script = parseExportScript(std::move(text), name);
  const ScriptFiles files = loadScriptFiles(script, c.basePaths);
  return mergeScript(script, files, scriptIndex, MergeTarget{c.model, c.ids, c.midiSetups}, songs, c.out, c.verbose());
}

bool readExportScript(Conversion& c, SongRuns& songs, const std::string& fileName, int scriptIndex) {
  const std::filesystem::path path = c.basePaths.resolve(fileName);
  std::string text;
  std::string error;
  // Named on the command line, so it may be a pipe.
  if (!common::readStream(path, text, error)) {
    c.out.print("*** Could not read export script <%s>.\n", fileName.c_str());
    return false;
  }
  return readExportScriptText(c, songs, std::move(text), common::displayPath(path), scriptIndex);
}

}  // namespace voconv
