#include "arrangement_file.h"

#include "common/paths.h"
#include "common/stream_input.h"
#include "convert/foundation/line_reader.h"

namespace kvtool {

namespace {

std::string trimmed(const std::string& s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// `folder` is where the MIDI file named by a relative path is looked for.
bool parseArrangementIn(const std::string& text, const std::filesystem::path& path, const std::filesystem::path& folder,
                        Arrangement& arrangement, std::string& error) {
  const std::string name = common::displayPath(path);
  voconv::LineReader lines(text);
  std::string line;
  bool haveMidi = false;
  while (lines.next(line)) {
    const std::string where = name + ", line " + std::to_string(lines.lineNumber());
    const size_t equals = line.find('=');
    if (equals == std::string::npos) {
      error = where + ": expected \"key = value\"";
      return false;
    }
    const std::string key = trimmed(line.substr(0, equals));
    const std::string value = trimmed(line.substr(equals + 1));
    if (!common::equalsIgnoringCase(key, "midi")) {
      error = where + ": unknown key \"" + key + "\"";
      return false;
    }
    if (haveMidi) {
      error = where + ": the MIDI file is named twice";
      return false;
    }
    if (value.empty()) {
      error = where + ": the MIDI file name is empty";
      return false;
    }
    const std::filesystem::path midi = common::pathFromName(value);
    arrangement.midiFile = common::findPathIgnoringCase(midi.is_absolute() ? midi : folder / midi);
    haveMidi = true;
  }
  if (!haveMidi) {
    error = name + ": no MIDI file is named (expected a line \"midi = <file>\")";
    return false;
  }
  return true;
}

}  // namespace

bool parseArrangement(const std::string& text, const std::filesystem::path& path, Arrangement& arrangement,
                      std::string& error) {
  return parseArrangementIn(text, path, path.parent_path(), arrangement, error);
}

bool readArrangement(const std::filesystem::path& path, Arrangement& arrangement, std::string& error) {
  // Named on the command line, it may be a pipe; then its MIDI file is found
  // from the current folder, since a pipe's folder means nothing.
  const std::filesystem::path found = common::findPathIgnoringCase(path);
  std::string text;
  if (!common::readStream(found, text, error)) return false;
  const std::filesystem::path folder = common::isStream(found) ? std::filesystem::path() : path.parent_path();
  return parseArrangementIn(text, path, folder, arrangement, error);
}

}  // namespace kvtool
