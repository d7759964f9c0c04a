// Ending a run on a termination signal without leaving its temporary files.
//
// SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE and SIGXFSZ remove every temporary
// file registered here at that moment, then end the process with the signal's
// usual status: the signal is raised again with its default action, so a shell
// sees "killed by SIGINT" exactly as without the cleanup. A signal the process
// was started with ignored (nohup's SIGHUP) stays ignored. The handlers are
// installed with the first registration, so a program that writes through
// SafeFileWriter needs no line in its main for this.
//
// The registry is the one piece of process-wide mutable state in the toolset:
// a signal handler can reach nothing else. It lives in termination_cleanup.cpp
// and nothing outside this header touches it.
//
// How to use it (both classes are safe to use from several threads at once):
//
//   - Prefer common::TemporaryFile (temporary_file.h), which names, registers
//     and creates a temporary file in one step. By hand: inside a SignalHold,
//     register the name first, then create the file, so that no moment exists
//     in which the file is there and the registry does not know it:
//         common::SignalHold hold;
//         common::TemporaryRegistration entry(path);
//         int fd = ::open(path.c_str(), O_CREAT | O_EXCL | ..., 0600);
//   - Once the file has been renamed into place, removed, or is to be kept on
//     purpose (it holds the only complete copy of something after a failure),
//     call entry.release(): the registry forgets it and the file stays as it
//     is. Destroying the entry does the same; it never removes the file.
//   - A private folder of temporary files (one whose files other programs
//     name, so that they cannot be registered one by one) is registered as a
//     Folder right after it is made, inside a SignalHold. On a signal, after
//     every registered file is removed, each registered folder is emptied of
//     the files directly in it and removed, the folders in reverse order of
//     registration, so that a folder made inside another goes first.
//   - Hold the signals while a temporary file is the only complete copy of
//     some content (a file rewritten through its inode) or while a series of
//     renames must not be cut short:
//         { common::SignalHold hold; ...rewrite or renames...; }
//     A termination signal that arrives meanwhile, in any thread, is acted on
//     when the last hold in the process ends. Holds nest within a thread and
//     never wait for each other; a thread must not wait for another thread
//     (join, a lock) while it holds, since that thread may be stopped for good
//     at its next hold once a signal is pending.
#pragma once

#include <filesystem>

namespace common {

// One temporary file's name in the registry. Move-only; an empty entry (default
// or moved from) registers nothing.
class TemporaryRegistration {
 public:
  enum class Kind { File, Folder };

  TemporaryRegistration() = default;
  // Registers `path` (made absolute) for removal on a termination signal.
  explicit TemporaryRegistration(const std::filesystem::path& path, Kind kind = Kind::File);
  ~TemporaryRegistration() { release(); }
  TemporaryRegistration(TemporaryRegistration&& other) noexcept : slot_(other.slot_) { other.slot_ = nullptr; }
  TemporaryRegistration& operator=(TemporaryRegistration&& other) noexcept;
  TemporaryRegistration(const TemporaryRegistration&) = delete;
  TemporaryRegistration& operator=(const TemporaryRegistration&) = delete;

  // Forgets the file; it is not removed.
  void release() noexcept;
  bool registered() const { return slot_ != nullptr; }

  struct Slot;

 private:
  Slot* slot_ = nullptr;
};

// While any SignalHold exists in the process, a termination signal waits: the
// process cleans up and ends when the last hold ends. Not copyable or movable:
// it is a scope.
class SignalHold {
 public:
  SignalHold();
  ~SignalHold();
  SignalHold(const SignalHold&) = delete;
  SignalHold& operator=(const SignalHold&) = delete;
};

// The signals that end a run with this cleanup.
inline constexpr int kTerminationSignalCount = 6;
const int* terminationSignals();

}  // namespace common
