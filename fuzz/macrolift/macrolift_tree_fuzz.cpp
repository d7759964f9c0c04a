// Builds a small sound project tree from the input and runs macrolift over it
// (never waiting for a key). Whatever the tree holds, the run ends with one
// of its exit codes, leaves no temporary file behind, adds no file but the
// report and the Game Boy Advance definition file, and never writes through
// a symbolic link.
//
// The input is a list of records: a kind byte (enter folder, leave folder,
// file, link to the outside file, link to a folder), a name byte (a stem and
// an extension), and for a file a length byte and that many content bytes.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "fuzz/temp_folder.h"
#include "macrolift/conversion_report.h"
#include "macrolift/macro_lift.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kStems[] = {"a", "B", "macro", "Sfx 1", "proj", "defs", "z"};
constexpr const char* kExtensions[] = {".vqm", ".vqp", ".vqd", ".VQM", ".Vqp", ".txt", ""};
constexpr size_t kMaxRecords = 64;
constexpr size_t kMaxDepth = 4;

void check(bool condition) {
  if (!condition) std::abort();
}

std::string nameFor(uint8_t byte) { return std::string(kStems[byte % 7]) + kExtensions[(byte / 7) % 7]; }

std::string readAll(const fs::path& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream text;
  text << f.rdbuf();
  return text.str();
}

void buildTree(const uint8_t* data, size_t size, const fs::path& root, const fs::path& outside) {
  fs::path folder = root;
  size_t depth = 0;
  size_t i = 0;
  for (size_t records = 0; records < kMaxRecords && i + 2 <= size; ++records) {
    const uint8_t kind = data[i] % 5;
    const fs::path path = folder / nameFor(data[i + 1]);
    i += 2;
    std::error_code ignored;
    if (kind == 0 && depth < kMaxDepth && !fs::exists(path)) {
      fs::create_directory(path, ignored);
      folder = path;
      ++depth;
    } else if (kind == 1 && depth > 0) {
      folder = folder.parent_path();
      --depth;
    } else if (kind == 2 && i < size && !fs::exists(path)) {
      const size_t length = std::min<size_t>(data[i], size - i - 1);
      std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data + i + 1), std::streamsize(length));
      i += 1 + length;
    } else if (kind == 3 && !fs::exists(fs::symlink_status(path))) {
      fs::create_symlink(outside / "outside.vqm", path, ignored);
    } else if (kind == 4 && !fs::exists(fs::symlink_status(path))) {
      fs::create_directory_symlink(outside, path, ignored);
    }
  }
}

std::set<fs::path> namesBelow(const fs::path& root) {
  std::set<fs::path> names;
  for (const auto& entry : fs::recursive_directory_iterator(root)) names.insert(fs::relative(entry.path(), root));
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const fuzzing::TempFolder folder("macrolift-tree-fuzz");
  const fs::path root = folder.path() / "tree";
  const fs::path outside = folder.path() / "outside";
  fs::remove_all(root);
  fs::remove_all(outside);
  fs::create_directories(root);
  fs::create_directories(outside);
  const std::string outsideMacro(16, '\x14');  // two steps of a command that converts
  std::ofstream(outside / "outside.vqm", std::ios::binary) << outsideMacro;

  buildTree(data, size, root, outside);
  const std::set<fs::path> before = namesBelow(root);
  std::ostringstream text;
  common::Output console(text);
  const int code = macrolift::runMacroLift(root, console, macrolift::KeyWait::Never);
  check(code == macrolift::kDone || code == macrolift::kFailed || code == macrolift::kStepArrayFull);
  if (code == macrolift::kDone) check(fs::is_regular_file(root / macrolift::kReportFileName));

  for (const fs::path& name : namesBelow(root)) {
    const std::string file = name.filename().string();
    check(before.count(name) || file == macrolift::kReportFileName || file == "GBAdvance_macrodef.vqd");
  }
  check(readAll(outside / "outside.vqm") == outsideMacro);
  check(namesBelow(outside).size() == 1);
  return 0;
}
