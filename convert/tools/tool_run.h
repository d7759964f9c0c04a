// Runs an outside program (mid2trk, kvtool) and waits for it.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace voconv {

struct ToolResult {
  int exitCode = -1;   // -1 when the program could not be started or did not exit normally
  std::string output;  // what it wrote to standard output and standard error
};

// Starts argv[0] with the arguments that follow, looked up in `ownFolder`
// (the folder of the running converter) first and then on PATH. Standard
// input is empty; standard output and error are captured. Blocks until the
// program has ended.
ToolResult runTool(const std::vector<std::string>& argv, const std::filesystem::path& ownFolder);

// How a conversion runs its tools; tests and fuzzers put a stand-in here.
using ToolRunner = std::function<ToolResult(const std::vector<std::string>& argv)>;

// The folder of the running executable (empty when it cannot be told).
std::filesystem::path ownExecutableFolder();

}  // namespace voconv
