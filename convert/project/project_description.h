// The project description: which groups of the merged export scripts go into
// the output, how their pool and sample references are handled, and where and
// under which names the output files are written.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/output.h"

namespace voconv {

struct ProjectDescription {
  std::vector<std::string> projectGroups;        // [Project], in file order
  std::vector<std::string> poolIncludeGroups;    // [Pool]
  std::vector<std::string> poolStackGroups;      // [Pool] "STACK="
  std::vector<std::string> sampleIncludeGroups;  // [Samples]
  std::vector<std::string> sampleStackGroups;    // [Samples] "STACK="
  std::string outputBaseName = "default";        // [Name]
  std::string includeFileName = "default.h";     // [Include]
  std::string outputDirectory;                   // [OutputDirectory]; empty: the current folder

  // Built after a successful read: the output directory joined with the base
  // name and with the include file name.
  std::filesystem::path outputBasePath;
  std::filesystem::path includeFilePath;

  // An output file: the base path with `extension` (".proj", ".pool"...) put
  // in place of the base name's own extension, or appended when it has none.
  std::filesystem::path outputFile(std::string_view extension) const;
  // A file named `name` in the output directory.
  std::filesystem::path fileInOutputDirectory(std::string_view name) const;
};

// Reads the description from `path`, opened by the name given. Prints its
// failure message and returns false on failure; lists what it read when
// `verbose` is set.
bool readProjectDescription(const std::filesystem::path& path, ProjectDescription& description, common::Output& out,
                            bool verbose);
// The same on text already in memory (`name` is the file named in messages).
bool parseProjectDescription(std::string text, const std::string& name, ProjectDescription& description,
                             common::Output& out, bool verbose);

}  // namespace voconv
