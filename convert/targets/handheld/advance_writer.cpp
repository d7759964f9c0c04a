// The Game Boy Advance writer: one project file, "<base>.proj".
#include "common/file_io.h"
#include "common/paths.h"
#include "convert/conversion.h"
#include "convert/targets/handheld/advance_project_file.h"
#include "convert/targets/handheld/handheld_gather.h"
#include "convert/targets/handheld/handheld_song_files.h"
#include "convert/targets/handheld/handheld_symbols.h"
#include "convert/targets/handheld/handheld_writers.h"

namespace voconv {

bool writeAdvanceProject(Conversion& c, AdvanceRun& run, const HandheldBuild& build) {
  run.file.reset();
  run.symbols.clear();
  std::optional<HandheldProject> project = prepareHandheldProject(c, build);
  if (project) run.file = emitAdvanceProject(*project, c.out);
  deleteSongFilesOfRun(c);
  if (!run.file) return false;
  const SymbolForm form = c.settings.assemblerInclude ? SymbolForm::Assembler : SymbolForm::C;
  run.symbols = effectSymbols(*project, form) + songSymbols(*project, form);
  return true;
}

bool writeAdvanceData(Conversion& c, AdvanceRun& run) {
  if (!run.file) return false;
  const std::filesystem::path path = c.description.outputFile(".proj");
  common::SafeFileWriter file(c.program);
  if (file.open(path) && file.write(*run.file) && file.commit()) {
    c.include->writeText(run.symbols);
    return true;
  }
  c.out.print("*** ERROR: Could not create output project file!\n");
  c.out.print("*** %s\n", file.error().c_str());
  return false;
}

}  // namespace voconv
