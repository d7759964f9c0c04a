#include "project_description.h"

#include "common/file_io.h"
#include "common/paths.h"
#include "convert/foundation/line_reader.h"
#include "convert/foundation/project_file.h"

namespace voconv {

namespace {

enum class Section { None, Pool, Samples, Project, Name, Include, OutputDirectory };

struct SectionMarker {
  std::string_view text;
  Section section;
};

constexpr SectionMarker kSections[] = {
    {"[Pool]", Section::Pool}, {"[Samples]", Section::Samples}, {"[Project]", Section::Project},
    {"[Name]", Section::Name}, {"[Include]", Section::Include}, {"[OutputDirectory]", Section::OutputDirectory},
};

constexpr std::string_view kStack = "STACK=";

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

void takeLine(Section section, const std::string& line, ProjectDescription& d, common::Output& out, bool verbose) {
  auto say = [&](const char* fmt, const std::string& value) {
    if (verbose) out.print(fmt, value.c_str());
  };
  switch (section) {
    case Section::Pool:
      if (startsWith(line, kStack)) {
        d.poolStackGroups.push_back(line.substr(kStack.size()));
        say("Group <%s>'s pool references are assumed to be on the group stack.\n", d.poolStackGroups.back());
      } else {
        d.poolIncludeGroups.push_back(line);
        say("Group <%s>'s references to be included into pool data.\n", line);
      }
      break;
    case Section::Samples:
      if (startsWith(line, kStack)) {
        d.sampleStackGroups.push_back(line.substr(kStack.size()));
        say("Group <%s>'s sample references are assumed to be on the group stack.\n", d.sampleStackGroups.back());
      } else {
        d.sampleIncludeGroups.push_back(line);
        say("Group <%s>'s references to be included into sample data.\n", line);
      }
      break;
    case Section::Project:
      d.projectGroups.push_back(line);
      say("Group <%s> to be included into the project.\n", line);
      break;
    case Section::Name:
      d.outputBaseName = line;
      say("Output basename: <%s>\n", line);
      break;
    case Section::Include:
      d.includeFileName = line;
      say("Language include: <%s>\n", line);
      break;
    case Section::OutputDirectory:
      d.outputDirectory = line;
      say("Output directory: <%s>\n", line);
      break;
    case Section::None: break;
  }
}

}  // namespace

std::filesystem::path ProjectDescription::outputFile(std::string_view extension) const {
  std::filesystem::path file = outputBasePath;
  const std::string name = file.filename().string();
  const size_t dot = name.rfind('.');
  file.replace_filename((dot == std::string::npos ? name : name.substr(0, dot)) + std::string(extension));
  return file;
}

std::filesystem::path ProjectDescription::fileInOutputDirectory(std::string_view name) const {
  return common::joinPath(outputDirectory, name);
}

bool parseProjectDescription(std::string text, const std::string& name, ProjectDescription& d, common::Output& out,
                             bool verbose) {
  LineReader reader(std::move(text));
  Section section = Section::None;
  std::string line;
  while (reader.next(line)) {
    if (line.front() == '[') {
      section = Section::None;
      for (const auto& marker : kSections) {
        if (line == marker.text) section = marker.section;
      }
      if (section == Section::None) {
        out.print("*** Unknown section marker found in description file.\n");
        out.print("*** In <%s>, line %d.\n", name.c_str(), reader.lineNumber());
        return false;
      }
      continue;
    }
    if (section == Section::None) {
      out.print("*** Data outside section.\n");
      out.print("*** In <%s>, line %d.\n", name.c_str(), reader.lineNumber());
      return false;
    }
    takeLine(section, line, d, out, verbose);
  }
  d.outputBasePath = common::joinPath(d.outputDirectory, d.outputBaseName);
  d.includeFilePath = common::joinPath(d.outputDirectory, d.includeFileName);
  return true;
}

bool readProjectDescription(const std::filesystem::path& path, ProjectDescription& d, common::Output& out,
                            bool verbose) {
  std::string text;
  std::string error;
  // Named on the command line, so it may be a pipe.
  if (!common::readStream(common::findPathIgnoringCase(path), text, error)) {
    out.print("*** Could not open project description.\n");
    out.print("*** %s\n", error.c_str());
    return false;
  }
  return parseProjectDescription(std::move(text), common::displayPath(path), d, out, verbose);
}

}  // namespace voconv
