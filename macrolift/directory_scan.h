// The walk through a sound project's folder tree.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "run_context.h"

namespace macrolift {

enum class EntryKind {
  Folder,
  File,       // a regular file
  OtherFile,  // a pipe, socket or device: never opened
  SymbolicLink,
};

struct FolderEntry {
  std::string name;
  EntryKind kind;
};

// The entries of `folder` ("." and ".." are never listed), in name order
// without regard to case, so that the report is the same on every run.
// False when the folder cannot be read.
bool listFolder(const std::filesystem::path& folder, std::vector<FolderEntry>& entries);

// The part of a file name after its last dot ("" without a dot).
std::string_view extensionOfName(std::string_view name);

// Converts everything below `folder`, depth first: definition files (.vqd)
// are replaced by the Game Boy Advance one, project files (.vqp) pointed at
// it, and sound macros (.vqm) converted. Extensions are compared without
// regard to case. Stops at the first failure and returns false.
bool scanDirectory(MacroLiftRun& run, const std::filesystem::path& folder);

}  // namespace macrolift
