#include "directory_scan.h"

#include <algorithm>

#include "common/paths.h"
#include "gba_command_definitions.h"
#include "macro_file.h"
#include "temporary_files.h"

namespace macrolift {
namespace {

namespace fs = std::filesystem;

enum class FileRole { Other, Definitions, Project, Macro };

FileRole roleOf(std::string_view name) {
  const std::string_view extension = extensionOfName(name);
  if (common::equalsIgnoringCase(extension, "vqd")) return FileRole::Definitions;
  if (common::equalsIgnoringCase(extension, "vqp")) return FileRole::Project;
  if (common::equalsIgnoringCase(extension, "vqm")) return FileRole::Macro;
  return FileRole::Other;
}

std::string lowered(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  }
  return out;
}

// The new definition file is planned once per folder; the old one is removed
// only once every new file is in place, so that a run stopped before then
// leaves the project with the definition file it had.
bool replaceDefinitionFile(MacroLiftRun& run, const fs::path& folder, const fs::path& old, bool& planned) {
  std::string error;
  if (!planned && !writeDefinitionFile(folder, error, &run.writes)) {
    run.console.print("*** %s\n", error.c_str());
    run.console.write("*** ERROR: Could not write new macro definition file!\n");
    return false;
  }
  planned = true;
  if (old.filename() == kDefinitionFileName) return true;
  std::error_code ec;
  const bool writeProtected =
      (fs::symlink_status(old, ec).permissions() & fs::perms::owner_write) == fs::perms::none && !ec;
  if (writeProtected) {
    run.tell("*** WARNING: Cannot delete file \"%s\"!\n", common::displayPath(old).c_str());
  } else {
    run.removals.push_back(old);
  }
  return true;
}

bool updateProject(MacroLiftRun& run, const fs::path& path, bool regular) {
  std::string error;
  if (!regular) {
    // A pipe is never opened: reading it would wait for a writer.
    error = "cannot read " + common::displayPath(path) + ": not a regular file";
  } else if (run.projectFiles.updateProjectFile(path, error, &run.writes)) {
    return true;
  }
  run.console.print("*** %s\n", error.c_str());
  run.console.write("*** ERROR: Cannot update the project file!\n");
  return false;
}

bool handleFile(MacroLiftRun& run, const fs::path& folder, const FolderEntry& entry, bool& definitionPlanned) {
  const fs::path path = folder / entry.name;
  switch (roleOf(entry.name)) {
    case FileRole::Definitions: return replaceDefinitionFile(run, folder, path, definitionPlanned);
    case FileRole::Project: return updateProject(run, path, entry.kind == EntryKind::File);
    case FileRole::Macro:
      ++run.statistics.macrosFound;
      run.console.print("Found \"%s\", converting...\n", entry.name.c_str());
      return convertMacroFile(run, path, entry.name, entry.kind == EntryKind::File);
    case FileRole::Other: return true;
  }
  return true;
}

// Links are not followed: a link to a folder above would make the walk
// endless, and a file reached twice would be converted twice.
void skipLink(MacroLiftRun& run, const fs::path& folder, const FolderEntry& entry) {
  const fs::path path = folder / entry.name;
  std::error_code ec;
  if (roleOf(entry.name) != FileRole::Other || fs::is_directory(path, ec))
    run.tell("*** WARNING: Skipping symbolic link \"%s\"!\n", common::displayPath(path).c_str());
}

}  // namespace

std::string_view extensionOfName(std::string_view name) {
  const size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

bool listFolder(const fs::path& folder, std::vector<FolderEntry>& entries) {
  entries.clear();
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    EntryKind kind = EntryKind::File;
    if (it->is_symlink(typeError)) {
      kind = EntryKind::SymbolicLink;
    } else if (it->is_directory(typeError)) {
      kind = EntryKind::Folder;
    } else if (!it->is_regular_file(typeError)) {
      kind = EntryKind::OtherFile;
    }
    entries.push_back({it->path().filename().string(), kind});
  }
  if (ec) return false;
  std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
    const std::string la = lowered(a.name), lb = lowered(b.name);
    return la != lb ? la < lb : a.name < b.name;
  });
  return true;
}

bool scanDirectory(MacroLiftRun& run, const fs::path& folder) {
  // The listing is taken before anything is changed, so that the files this
  // walk writes into the folder are not visited again.
  std::vector<FolderEntry> entries;
  if (!listFolder(folder, entries)) {
    run.tell("*** ERROR: Cannot read directory \"%s\"!\n", common::displayPath(folder).c_str());
    return false;
  }
  bool definitionPlanned = false;
  for (const FolderEntry& entry : entries) {
    if (entry.kind == EntryKind::File && isLeftoverTemporary(entry.name)) {
      // What a run killed before its journal was written left behind.
      std::error_code ec;
      fs::remove(folder / entry.name, ec);
    } else if (entry.kind == EntryKind::SymbolicLink) {
      skipLink(run, folder, entry);
    } else if (entry.kind == EntryKind::Folder) {
      const fs::path sub = folder / entry.name;
      run.tell("Scanning subdirectory \"%s\"...\n", common::displayPath(sub).c_str());
      if (!scanDirectory(run, sub)) return false;
    } else if (!handleFile(run, folder, entry, definitionPlanned)) {
      return false;
    }
  }
  return true;
}

}  // namespace macrolift
