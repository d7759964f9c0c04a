// Paths that name a descriptor this process already has open: /dev/stdin,
// /dev/stdout, /dev/stderr, /dev/fd/N, /proc/self/fd/N, /proc/thread-self/fd/N
// and /proc/<this process>/fd/N. Opening such a path again gives a new open
// file (position 0, no append mode) or, through a rename, replaces whatever
// file the descriptor leads to; output named so is written through the
// descriptor itself instead.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace common {

// The descriptor `path` names by its spelling (relative paths are taken from
// the current folder), whether or not it is open.
std::optional<int> descriptorNamedBy(const std::filesystem::path& path);

// Whether `fd` is the program's standard output or the same file as it (a
// pipe, a terminal, a file), so that writing data to it and messages to
// standard output would mix them.
bool isStandardOutput(int fd);

// Whether one of `args` names, through a descriptor path or symbolic links to
// one, the program's standard output. A program whose command line does so
// prints its messages on standard error for that run, keeping the data clean.
bool namesStandardOutput(const std::vector<std::string>& args);

}  // namespace common
