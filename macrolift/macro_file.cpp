#include "macro_file.h"

#include <cstdio>
#include <memory>
#include <new>
#include <stdexcept>
#include <vector>

#include "common/paths.h"
#include "file_replacement.h"
#include "macro_steps.h"

namespace macrolift {
namespace {

enum class ReadResult { Ok, CannotOpen, NoMemory, ReadError };

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

ReadResult readMacro(const std::filesystem::path& path, std::vector<uint8_t>& bytes) {
  std::error_code ec;
  // A folder, pipe, socket or device is no macro (and opening a pipe could wait for ever).
  if (!std::filesystem::is_regular_file(path, ec)) return ReadResult::CannotOpen;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.string().c_str(), "rb"));
  if (!file) return ReadResult::CannotOpen;
  if (std::fseek(file.get(), 0, SEEK_END) != 0) return ReadResult::ReadError;
  const long size = std::ftell(file.get());
  if (size < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) return ReadResult::ReadError;
  try {
    bytes.resize(size_t(size));
  } catch (const std::bad_alloc&) {
    return ReadResult::NoMemory;
  } catch (const std::length_error&) {
    return ReadResult::NoMemory;
  }
  if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) return ReadResult::ReadError;
  return ReadResult::Ok;
}

bool reportReadFailure(MacroLiftRun& run, ReadResult result, const std::string& name) {
  switch (result) {
    case ReadResult::Ok:
      return true;
    case ReadResult::CannotOpen:
      run.report.print("*** Failed to open macro \"%s\"!\n", name.c_str());
      break;
    case ReadResult::NoMemory:
      run.report.print("*** Insufficient memory to read in macro \"%s\"!\n", name.c_str());
      break;
    case ReadResult::ReadError:
      run.report.print("*** Error reading macro \"%s\"!\n", name.c_str());
      break;
  }
  return false;
}

void reportOutcome(MacroLiftRun& run, ConversionResult result, const std::string& name) {
  switch (result) {
    case ConversionResult::CannotConvert:
      run.report.print("Cannot convert macro \"%s\", deleting...\n", name.c_str());
      ++run.statistics.macrosDeleted;
      break;
    case ConversionResult::Converted:
      run.report.print("Macro \"%s\" converted ok.\n", name.c_str());
      ++run.statistics.macrosConverted;
      break;
    case ConversionResult::PossiblyOk:
      run.report.print("Macro \"%s\" possibly ok:\n", name.c_str());
      run.report.write("\tWARNING: Macro split and goto steps may be incorrect!\n");
      ++run.statistics.macrosWithProblems;
      break;
  }
}

bool overwriteMacro(MacroLiftRun& run, const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::string error;
  switch (replaceInPlace(path, bytes, error)) {
    case ReplaceResult::Replaced:
      return true;
    case ReplaceResult::CannotOpen:
      run.tell("*** ERROR: Cannot overwrite file \"%s\"!\n", common::displayPath(path).c_str());
      return false;
    case ReplaceResult::WriteFailed:
      run.tell("*** ERROR: Error writing file \"%s\"!\n", common::displayPath(path).c_str());
      return false;
  }
  return false;
}

}  // namespace

bool convertMacroFile(MacroLiftRun& run, const std::filesystem::path& path, const std::string& name) {
  std::vector<uint8_t> original;
  if (!reportReadFailure(run, readMacro(path, original), name)) return false;
  std::vector<MacroStep> steps = stepsFromBytes(original);
  const ConversionResult result = convertMacroSteps(steps);
  reportOutcome(run, result, name);
  // A macro that cannot be converted is stripped down to one END step. It is
  // replaced, never deleted first, so that a failure cannot lose it.
  if (result == ConversionResult::CannotConvert) steps.assign(1, MacroStep{});
  const std::vector<uint8_t> converted = bytesFromSteps(steps);
  if (converted == original) return true;  // nothing changed: leave the file alone
  return overwriteMacro(run, path, converted);
}

}  // namespace macrolift
