#include "cli_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <random>
#include <stdexcept>

extern char** environ;

namespace testing_support {

TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  std::random_device rd;
  const auto base = std::filesystem::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    auto candidate = base / ("toolset-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
                             std::to_string(rd() % 1000000));
    std::error_code ec;
    if (std::filesystem::create_directory(candidate, ec)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
  std::error_code ec;
  // Restore permissions that a test may have taken away, so removal succeeds.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  }
  std::filesystem::remove_all(path_, ec);
}

void TempDir::write(const std::string& name, const std::vector<uint8_t>& bytes) const {
  const auto p = path_ / name;
  std::filesystem::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + p.string());
}

void TempDir::write(const std::string& name, const std::string& text) const {
  write(name, std::vector<uint8_t>(text.begin(), text.end()));
}

std::vector<uint8_t> TempDir::readBytes(const std::string& name) const { return readFileBytes(path_ / name); }
std::string TempDir::readText(const std::string& name) const { return readFileText(path_ / name); }
bool TempDir::exists(const std::string& name) const { return std::filesystem::exists(path_ / name); }

std::vector<std::string> TempDir::files() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(path_)) {
    if (entry.is_regular_file()) names.push_back(entry.path().lexically_relative(path_).generic_string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<uint8_t> readFileBytes(const std::filesystem::path& path) {
  const std::string text = readFileText(path);
  return std::vector<uint8_t>(text.begin(), text.end());
}

std::string readFileText(const std::filesystem::path& path) {
  // A missing file is not an empty one: a check for empty output must not
  // pass when nothing was written at all.
  std::ifstream in(path, std::ios::binary);
  if (!in || std::filesystem::is_directory(path)) throw std::runtime_error("cannot read " + path.string());
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

CliResult runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                     const std::filesystem::path& workDir, const std::string& input,
                     const std::vector<std::string>& extraEnv) {
  TempDir capture;
  const auto inPath = capture / "stdin";
  const auto outPath = capture / "stdout";
  const auto errPath = capture / "stderr";
  capture.write("stdin", input);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);

  // posix_spawn has no portable "change folder" action in this libc version,
  // so the child is started through a tiny shell: cd, then exec the program.
  std::vector<std::string> argvText = {"/bin/sh", "-c", "cd \"$0\" && exec \"$@\"", workDir.string(),
                                       std::filesystem::absolute(program).string()};
  argvText.insert(argvText.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : argvText) argv.push_back(a.data());
  argv.push_back(nullptr);

  std::vector<std::string> envText;
  for (char** e = environ; *e != nullptr; ++e) envText.emplace_back(*e);
  envText.insert(envText.end(), extraEnv.begin(), extraEnv.end());
  std::vector<char*> envp;
  for (auto& e : envText) envp.push_back(e.data());
  envp.push_back(nullptr);

  pid_t pid = 0;
  const int rc = posix_spawn(&pid, "/bin/sh", &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error("cannot start " + program.string());

  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
  }
  CliResult result;
  if (WIFEXITED(status)) {
    result.exitCode = WEXITSTATUS(status);
  } else {
    result.signaled = true;
    result.exitCode = 128 + WTERMSIG(status);
  }
  result.out = readFileText(outPath);
  result.err = readFileText(errPath);
  return result;
}

std::filesystem::path programAlone(const std::filesystem::path& program) {
  static const TempDir folder;
  std::filesystem::path copy = folder / program.filename().string();
  if (!std::filesystem::exists(copy)) std::filesystem::copy_file(program, copy);
  return copy;
}

}  // namespace testing_support
