#include "terminal.h"

#include <cerrno>
#include <csignal>

#ifdef _WIN32
#include <conio.h>
#include <io.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

namespace common {

#ifdef _WIN32

bool standardInputIsTerminal() { return _isatty(0) != 0; }

void promptAndWaitForKey(Output& out, const char* prompt) {
  out.write(prompt);
  out.flush();
  if (standardInputIsTerminal()) (void)_getch();
}

#else

namespace {

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The one wait in progress. Signal handlers can reach nothing but static
// storage, so the settings to restore live here for the length of the wait.
struct KeyWait {
  int fd = -1;
  termios saved{};
  termios raw{};
  struct sigaction previous[NSIG] {};
};
KeyWait& activeWait() {
  static KeyWait wait;
  return wait;
}

void restoreAndEnd(int signal) {
  KeyWait& w = activeWait();
  ::tcsetattr(w.fd, TCSANOW, &w.saved);
  // The program's own disposition then takes the signal as if we were not here.
  ::sigaction(signal, &w.previous[signal], nullptr);
  ::raise(signal);
}

void restoreAndStop(int) {
  KeyWait& w = activeWait();
  const int savedErrno = errno;
  ::tcsetattr(w.fd, TCSANOW, &w.saved);
  ::signal(SIGTSTP, SIG_DFL);
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTSTP);
  ::sigprocmask(SIG_UNBLOCK, &stop, nullptr);
  ::raise(SIGTSTP);  // stopped here until continued
  ::signal(SIGTSTP, restoreAndStop);
  ::tcsetattr(w.fd, TCSANOW, &w.raw);
  errno = savedErrno;
}

// Installs `handler` for `signal` unless the program ignores that signal.
void catchSignal(int signal, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  KeyWait& w = activeWait();
  ::sigaction(signal, nullptr, &w.previous[signal]);
  if (w.previous[signal].sa_handler != SIG_IGN) ::sigaction(signal, &action, nullptr);
}

void waitForOneKey(int fd) {
  KeyWait& w = activeWait();
  if (::tcgetattr(fd, &w.saved) != 0) return;
  w.fd = fd;
  w.raw = w.saved;
  w.raw.c_lflag &= tcflag_t(~(ICANON | ECHO));  // ISIG stays: Ctrl-C and Ctrl-Z work
  w.raw.c_cc[VMIN] = 1;
  w.raw.c_cc[VTIME] = 0;
  for (int signal : kEndingSignals) catchSignal(signal, restoreAndEnd);
  catchSignal(SIGTSTP, restoreAndStop);
  if (::tcsetattr(fd, TCSANOW, &w.raw) == 0) {
    char key = 0;
    while (::read(fd, &key, 1) < 0 && errno == EINTR) {
    }
    ::tcflush(fd, TCIFLUSH);  // the rest of an escape sequence, keys typed ahead
  }
  ::tcsetattr(fd, TCSANOW, &w.saved);
  for (int signal : kEndingSignals) ::sigaction(signal, &w.previous[signal], nullptr);
  ::sigaction(SIGTSTP, &w.previous[SIGTSTP], nullptr);
  w.fd = -1;
}

}  // namespace

bool standardInputIsTerminal() { return ::isatty(0) != 0; }

void promptAndWaitForKey(Output& out, const char* prompt) {
  out.write(prompt);
  out.flush();
  // A background job reading the terminal would be stopped; it does not wait.
  if (standardInputIsTerminal() && ::tcgetpgrp(0) == ::getpgrp()) waitForOneKey(0);
}

#endif

}  // namespace common
