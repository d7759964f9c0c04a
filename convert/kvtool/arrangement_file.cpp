#include "arrangement_file.h"

#include "common/paths.h"
#include "convert/foundation/line_reader.h"
#include "convert/foundation/project_file.h"

namespace kvtool {

namespace {

std::string trimmed(const std::string& s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

}  // namespace

bool parseArrangement(const std::string& text, const std::filesystem::path& path, Arrangement& arrangement,
                      std::string& error) {
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
    arrangement.midiFile = common::findPathIgnoringCase(midi.is_absolute() ? midi : path.parent_path() / midi);
    haveMidi = true;
  }
  if (!haveMidi) {
    error = name + ": no MIDI file is named (expected a line \"midi = <file>\")";
    return false;
  }
  return true;
}

bool readArrangement(const std::filesystem::path& path, Arrangement& arrangement, std::string& error) {
  std::string text;
  if (!voconv::readProjectFile(common::findPathIgnoringCase(path), text, error)) return false;
  return parseArrangement(text, path, arrangement, error);
}

}  // namespace kvtool
