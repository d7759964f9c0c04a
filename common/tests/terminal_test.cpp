#include "common/terminal.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <iostream>
#include <thread>

namespace {

// Everything the terminal shows until `expected` appears or a second passes.
std::string readUntil(int master, const std::string& expected) {
  std::string seen;
  while (seen.find(expected) == std::string::npos) {
    pollfd p{master, POLLIN, 0};
    if (::poll(&p, 1, 1000) <= 0) break;
    char buffer[256];
    const ssize_t n = ::read(master, buffer, sizeof buffer);
    if (n <= 0) break;
    seen.append(buffer, size_t(n));
  }
  return seen;
}

// The child's wait status, or -1 when it is still waiting after five seconds.
int waitAtMostFiveSeconds(pid_t child) {
  for (int i = 0; i < 500; ++i) {
    int status = 0;
    if (::waitpid(child, &status, WNOHANG) == child) return status;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  return -1;
}

}  // namespace

TEST(Terminal, WaitsForOneKeyAndRestoresTheTerminal) {
  struct Case {
    const char* name;
    std::string typed;
    bool endedBySignal;
  };
  const Case cases[] = {
      {"a key without Enter", "x", false},
      {"an arrow key (three bytes)", "\x1b[A", false},
      {"Ctrl-C", "\x03", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int master = -1;
    const pid_t child = ::forkpty(&master, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0) {
      termios settings{}, now{};
      ::tcgetattr(0, &settings);
      common::Output out(std::cout);
      common::promptAndWaitForKey(out, "Press any key to exit.\n");
      ::tcgetattr(0, &now);
      const bool restored = now.c_lflag == settings.c_lflag && now.c_cc[VMIN] == settings.c_cc[VMIN];
      // Whatever is still queued for the shell, read without waiting.
      now.c_lflag &= tcflag_t(~ICANON);
      now.c_cc[VMIN] = 0;
      now.c_cc[VTIME] = 0;
      ::tcsetattr(0, TCSANOW, &now);
      char left[16];
      const ssize_t n = ::read(0, left, sizeof left);
      out.print("after restored=%d left=%d\n", int(restored), int(n));
      out.flush();
      _exit(0);
    }
    termios before{};
    ASSERT_EQ(::tcgetattr(master, &before), 0);
    ASSERT_NE(readUntil(master, "exit.").find("Press any key to exit."), std::string::npos);
    // The child may print the prompt a moment before it changes the settings.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_EQ(::write(master, c.typed.data(), c.typed.size()), ssize_t(c.typed.size()));
    const std::string shown = c.endedBySignal ? "" : readUntil(master, "left=");
    const int status = waitAtMostFiveSeconds(child);
    ASSERT_NE(status, -1) << "still waiting";
    if (c.endedBySignal) {
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT);
      termios after{};
      ASSERT_EQ(::tcgetattr(master, &after), 0);
      EXPECT_EQ(after.c_lflag, before.c_lflag);
    } else {
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
      EXPECT_NE(shown.find("after restored=1 left=0"), std::string::npos) << shown;
      EXPECT_EQ(shown.find(c.typed.back()), std::string::npos) << "echoed: " << shown;
    }
    ::close(master);
  }
}
