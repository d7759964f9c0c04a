#include "macro_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <stdexcept>
#include <vector>

#include "common/paths.h"
#include "file_replacement.h"
#include "macro_steps.h"

namespace macrolift {
namespace {

enum class ReadResult { Ok, CannotOpen, NoMemory, ReadError };

// Closes a file descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// One open, one fstat for the size, the reads and a close: the
// scan reads tens of thousands of small files.
ReadResult readMacro(const std::filesystem::path& path, std::vector<uint8_t>& bytes) {
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) return ReadResult::CannotOpen;
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) return ReadResult::ReadError;
  if (!S_ISREG(info.st_mode)) return ReadResult::CannotOpen;
  try {
    bytes.resize(size_t(info.st_size));
  } catch (const std::bad_alloc&) {
    return ReadResult::NoMemory;
  } catch (const std::length_error&) {
    return ReadResult::NoMemory;
  }
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::read(file.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return ReadResult::ReadError;  // an error, or the file got shorter
    done += size_t(n);
  }
  return ReadResult::Ok;
}

bool reportReadFailure(MacroLiftRun& run, ReadResult result, const std::string& name) {
  switch (result) {
    case ReadResult::Ok: return true;
    case ReadResult::CannotOpen: run.report.print("*** Failed to open macro \"%s\"!\n", name.c_str()); break;
    case ReadResult::NoMemory:
      run.report.print("*** Insufficient memory to read in macro \"%s\"!\n", name.c_str());
      break;
    case ReadResult::ReadError: run.report.print("*** Error reading macro \"%s\"!\n", name.c_str()); break;
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
  switch (replaceInPlace(path, bytes, error, &run.writes)) {
    case ReplaceResult::Replaced: return true;
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

bool convertMacroFile(MacroLiftRun& run, const std::filesystem::path& path, const std::string& name, bool regular) {
  // A macro that a stopped run converted already is reported as it was then.
  const std::string key = path.lexically_relative(run.root).generic_string();
  if (const auto done = run.convertedMacros.find(key); done != run.convertedMacros.end()) {
    reportOutcome(run, done->second, name);
    return true;
  }
  std::vector<uint8_t> original;
  // A pipe is never opened: opening it would wait for a writer.
  const ReadResult read = regular ? readMacro(path, original) : ReadResult::CannotOpen;
  if (!reportReadFailure(run, read, name)) return false;
  std::vector<MacroStep> steps = stepsFromBytes(original);
  const ConversionResult result = convertMacroSteps(steps);
  reportOutcome(run, result, name);
  // A macro that cannot be converted is stripped down to one END step. It is
  // replaced, never deleted first, so that a failure cannot lose it.
  if (result == ConversionResult::CannotConvert) steps.assign(1, MacroStep{});
  const std::vector<uint8_t> converted = bytesFromSteps(steps);
  if (converted == original) return true;  // nothing changed: leave the file alone
  if (!overwriteMacro(run, path, converted)) return false;
  run.convertedMacros.emplace(key, result);
  return true;
}

}  // namespace macrolift
