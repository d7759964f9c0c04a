#include "tool_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

extern char** environ;

namespace voconv {

namespace {

// The program to start: the one beside the converter when it is there,
// else the bare name for a PATH search.
std::string programFor(const std::string& name, const std::filesystem::path& ownFolder) {
  if (name.find('/') != std::string::npos || ownFolder.empty()) return name;
  std::error_code ec;
  const std::filesystem::path beside = ownFolder / name;
  if (std::filesystem::is_regular_file(beside, ec) && ::access(beside.c_str(), X_OK) == 0) return beside.string();
  return name;
}

// Keeps what a tool says up to this size; the rest is read and dropped, so a
// talkative tool neither blocks on a full pipe nor fills the memory.
constexpr size_t kMaxCapturedOutput = 64 * 1024;

std::string readAll(int fd) {
  std::string text;
  char buffer[4096];
  bool cut = false;
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      if (cut) continue;
      const size_t keep = std::min(size_t(n), kMaxCapturedOutput - text.size());
      text.append(buffer, keep);
      if (keep < size_t(n)) {
        text += "\n[... further output dropped]\n";
        cut = true;
      }
    } else if (n == 0 || errno != EINTR) {
      break;
    }
  }
  return text;
}

int waitForExit(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

ToolResult runTool(const std::vector<std::string>& argv, const std::filesystem::path& ownFolder) {
  ToolResult result;
  if (argv.empty()) return result;
  const std::string program = programFor(argv[0], ownFolder);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return result;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
  pid_t pid = 0;
  const int started = ::posix_spawnp(&pid, program.c_str(), &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  if (started != 0) {
    ::close(pipeFds[0]);
    result.output = program + ": " + std::generic_category().message(started) + "\n";
    return result;
  }
  result.output = readAll(pipeFds[0]);
  ::close(pipeFds[0]);
  result.exitCode = waitForExit(pid);
  return result;
}

std::filesystem::path ownExecutableFolder() {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : self.parent_path();
}

}  // namespace voconv
