// Test support: runs a built program in a fresh temporary folder and captures
// what it printed, its exit code and the files it left.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

// A folder under the system's temporary folder, removed with everything in it
// when the object goes away.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  // Writes a file below the folder, creating its parent folders.
  void write(const std::string& name, const std::vector<uint8_t>& bytes) const;
  void write(const std::string& name, const std::string& text) const;
  std::vector<uint8_t> readBytes(const std::string& name) const;
  std::string readText(const std::string& name) const;
  bool exists(const std::string& name) const;
  // Relative paths ('/'-separated) of every regular file below the folder, sorted.
  std::vector<std::string> files() const;

 private:
  std::filesystem::path path_;
};

struct CliResult {
  int exitCode = -1;      // as the shell sees it: 0..255 (exit(-1) shows as 255)
  bool signaled = false;  // ended by a signal (a crash)
  std::string out;        // standard output
  std::string err;        // standard error
};

// Runs `program` with `args` in `workDir`. Standard input is `input` (empty:
// no terminal, end of file at once); `extraEnv` entries ("NAME=value") are
// added to the environment.
CliResult runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                     const std::filesystem::path& workDir, const std::string& input = {},
                     const std::vector<std::string>& extraEnv = {});

// A copy of `program` alone in a folder of this test process's own, made once:
// a program that looks for its tools beside itself then finds none there and
// takes the stand-ins a test puts on PATH.
std::filesystem::path programAlone(const std::filesystem::path& program);

// Reads a whole file as bytes or text; throws when it cannot be read, so a
// missing file fails the test instead of passing for an empty one.
std::vector<uint8_t> readFileBytes(const std::filesystem::path& path);
std::string readFileText(const std::filesystem::path& path);

}  // namespace testing_support
