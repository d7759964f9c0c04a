// Points a sound project file at the Game Boy Advance definition file.
//
// A project file is text; the line that names the macro definition file has
// the form key=path, the path ending in ".vqd" in any case. That path is
// replaced by "GBAdvance_macrodef.vqd"; every other line stays as it is.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "planned_writes.h"

namespace macrolift {

class ProjectFileUpdater {
 public:
  // Compiles the regular expression once for the whole run.
  ProjectFileUpdater();
  ~ProjectFileUpdater();
  ProjectFileUpdater(const ProjectFileUpdater&) = delete;
  ProjectFileUpdater& operator=(const ProjectFileUpdater&) = delete;

  // False when the expression did not compile; every update then fails.
  bool ready() const;

  // The line (given without its line end) with the definition path replaced,
  // or nothing when the line names no definition file.
  std::optional<std::string> updateLine(std::string_view line);

  // The whole text with every definition line updated. A changed line keeps
  // its "\r\n" line end or gets "\n"; unchanged lines are copied byte for byte.
  std::string updateText(std::string_view text, bool& changed);

  // Rewrites the project file in place; the file is replaced whole or left
  // as it was (with a `plan`, once the plan's files are put in place). On failure
  // `error` names the file and the reason.
  bool updateProjectFile(const std::filesystem::path& path, std::string& error, PlannedWrites* plan = nullptr);

 private:
  struct Pcre;
  std::unique_ptr<Pcre> pcre_;
};

}  // namespace macrolift
