// The Game Boy writer. The cartridge target writes "<base>.proj" (the
// project part), "<base>.pool" (the sample data padded to a bank border, then
// the preset banks) and the assembler include "<base>.s" that links both; the
// slave ROM target writes "<base>.SLAVEROM": the project part at 0 and the
// sample data at 0x4000. The files are put in place together once all of
// them have been written.
#include <system_error>

#include "common/file_io.h"
#include "common/paths.h"
#include "convert/conversion.h"
#include "convert/targets/handheld/gb_include_file.h"
#include "convert/targets/handheld/handheld_gather.h"
#include "convert/targets/handheld/handheld_song_files.h"
#include "convert/targets/handheld/handheld_symbols.h"
#include "convert/targets/handheld/handheld_writers.h"

namespace voconv {
namespace {

struct OutputFile {
  std::filesystem::path path;
  common::SafeFileWriter writer;
  const char* createError;
  const char* writeError;
};

// The message names the file; the line after it gives the system's reason.
bool fail(Conversion& c, const char* message, const OutputFile& f) {
  c.out.print("%s\n\t\"%s\"\n", message, common::displayPath(f.path).c_str());
  if (!f.writer.error().empty()) c.out.print("*** %s\n", f.writer.error().c_str());
  return false;
}

bool open(Conversion& c, OutputFile& f) { return f.writer.open(f.path) || fail(c, f.createError, f); }

bool write(Conversion& c, OutputFile& f, std::span<const uint8_t> bytes, const char* writeError) {
  return f.writer.write(bytes) || fail(c, writeError, f);
}

bool commit(Conversion& c, OutputFile& f) { return f.writer.commit() || fail(c, f.writeError, f); }

bool writeSlaveRom(Conversion& c, const GameBoyLayout& layout) {
  OutputFile rom{c.description.outputFile(".SLAVEROM"), common::SafeFileWriter(c.program),
                 "*** ERROR: Could not create slave ROM sample project",
                 "*** ERROR: Writing to slave ROM sample project"};
  const std::vector<uint8_t> gap(kGameBoySampleStart - layout.projectSize, 0);
  return open(c, rom) && write(c, rom, layout.projectPart(), rom.writeError) && write(c, rom, gap, rom.writeError) &&
         write(c, rom, layout.sampleData(), rom.writeError) && commit(c, rom);
}

void printPoolStatistics(Conversion& c, const GameBoyLayout& layout) {
  if (!c.settings.showStatistics) return;
  c.out.print("   > Combined sample size (aligned): %u bytes\n", layout.presetStart - kGameBoySampleStart);
  c.out.print("   > Combined preset + MIDI size (aligned): %u bytes\n", layout.poolEnd - layout.presetStart);
  c.out.print("   = Total project data: %u bytes\n", layout.projectSize);
  c.out.print("   = Total sample/preset/MIDI size: %u bytes\n\n", layout.poolEnd - kGameBoySampleStart);
}

bool writePool(Conversion& c, OutputFile& pool, const GameBoyLayout& layout) {
  const std::span<const uint8_t> bytes = layout.pool();
  const size_t samples = layout.presetStart - kGameBoySampleStart;
  if (!open(c, pool) || !write(c, pool, bytes.first(samples), pool.writeError)) return false;
  if (!write(c, pool, bytes.subspan(samples), "*** ERROR: Failed to write songpool file")) return false;
  printPoolStatistics(c, layout);
  return true;
}

std::optional<std::string> includeText(Conversion& c, const GameBoyLayout& layout, const OutputFile& project,
                                       const OutputFile& pool) {
  std::error_code ec;
  const std::filesystem::path projectPath = std::filesystem::absolute(project.path, ec);
  if (ec) {
    c.out.print("*** ERROR: Failed to obtain full name for project file!\n");
    return std::nullopt;
  }
  const std::filesystem::path poolPath = std::filesystem::absolute(pool.path, ec);
  return gameBoyIncludeText({c.now, c.settings.lowerCaseHandheldName, common::displayPath(projectPath),
                             common::displayPath(ec ? pool.path : poolPath), layout.poolEnd - kGameBoySampleStart});
}

bool writeCartridge(Conversion& c, const GameBoyLayout& layout) {
  OutputFile project{c.description.outputFile(".proj"), common::SafeFileWriter(c.program),
                     "*** ERROR: Failed to create project file", "*** ERROR: Failed to write project file"};
  OutputFile pool{c.description.outputFile(".pool"), common::SafeFileWriter(c.program),
                  "*** ERROR: Failed to create sample file", "*** ERROR: Failed to write sample file"};
  OutputFile include{c.description.outputFile(".s"), common::SafeFileWriter(c.program),
                     "*** ERROR: Failed to create include file", "*** ERROR: Failed to write include file"};
  if (!open(c, project) || !write(c, project, layout.projectPart(), project.writeError)) return false;
  if (!writePool(c, pool, layout)) return false;
  const std::optional<std::string> text = includeText(c, layout, project, pool);
  if (!text || !open(c, include)) return false;
  if (!include.writer.write(std::string_view(*text))) return fail(c, include.writeError, include);
  return commit(c, project) && commit(c, pool) && commit(c, include);
}

}  // namespace

bool writeGameBoyProject(Conversion& c, GameBoyRun& run, const HandheldBuild& build, GameBoyVariant variant) {
  run.layout.reset();
  run.symbols.clear();
  std::optional<HandheldProject> project = prepareHandheldProject(c, build);
  if (project) {
    const GameBoyLayoutOptions options{variant, c.settings.showStatistics};
    run.layout = layOutGameBoyImage(*project, options, c.out);
  }
  deleteSongFilesOfRun(c);
  if (!run.layout) return false;
  run.symbols = effectSymbols(*project, SymbolForm::Assembler) + songSymbols(*project, SymbolForm::Assembler);
  return true;
}

bool writeGameBoyData(Conversion& c, GameBoyRun& run, GameBoyVariant variant) {
  if (!run.layout) return false;
  const bool slaveRom = variant == GameBoyVariant::SlaveRom;
  if (!(slaveRom ? writeSlaveRom(c, *run.layout) : writeCartridge(c, *run.layout))) return false;
  c.include->writeText(run.symbols);
  return true;
}

}  // namespace voconv
