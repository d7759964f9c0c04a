#include "run_journal.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>

#include "common/file_io.h"
#include "common/paths.h"
#include "common/temporary_file.h"
#include "program_name.h"
#include "temporary_files.h"

namespace macrolift {
namespace {

namespace fs = std::filesystem;

// Every line starts with a word; a path is written as its length, ':' and
// its bytes, so that any byte a name holds (a newline too) reads back.
constexpr std::string_view kHeader = "macrolift journal 1\n";
constexpr std::string_view kEnd = "end\n";

char outcomeCode(ConversionResult result) {
  switch (result) {
    case ConversionResult::Converted: return 'C';
    case ConversionResult::PossiblyOk: return 'P';
    case ConversionResult::CannotConvert: return 'D';
  }
  return '?';
}

void putField(std::string& out, const std::string& bytes) {
  out += ' ';
  out += std::to_string(bytes.size());
  out += ':';
  out += bytes;
}

std::string belowRoot(const fs::path& path, const fs::path& root) {
  const fs::path rel = path.lexically_relative(root);
  return (rel.empty() ? path : rel).generic_string();
}

// Reads the journal's text field by field.
class Cursor {
 public:
  explicit Cursor(std::string_view text) : text_(text) {}
  bool word(std::string_view& out) {
    const size_t end = text_.find_first_of(" \n", pos_);
    if (end == std::string_view::npos) return false;
    out = text_.substr(pos_, end - pos_);
    pos_ = end;
    return true;
  }
  bool space() { return take(' '); }
  bool lineEnd() { return take('\n'); }
  bool number(long& out) {
    std::string_view digits;
    if (!space() || !word(digits)) return false;
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), out);
    return ec == std::errc() && ptr == digits.data() + digits.size();
  }
  bool field(std::string& out) {
    if (!space()) return false;
    const size_t colon = text_.find(':', pos_);
    size_t length = 0;
    if (colon == std::string_view::npos) return false;
    const auto [ptr, ec] = std::from_chars(text_.data() + pos_, text_.data() + colon, length);
    if (ec != std::errc() || ptr != text_.data() + colon || length > text_.size() - colon - 1) return false;
    out = text_.substr(colon + 1, length);
    pos_ = colon + 1 + length;
    return true;
  }
  bool atEnd() const { return pos_ == text_.size(); }

 private:
  bool take(char c) {
    if (pos_ >= text_.size() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }
  std::string_view text_;
  size_t pos_ = 0;
};

bool decodeOutcome(std::string_view code, ConversionResult& result) {
  if (code == "C")
    result = ConversionResult::Converted;
  else if (code == "P")
    result = ConversionResult::PossiblyOk;
  else if (code == "D")
    result = ConversionResult::CannotConvert;
  else
    return false;
  return true;
}

// One line after its first word.
bool decodeLine(Cursor& in, std::string_view word, const fs::path& root, RunJournal& journal) {
  std::string a, b;
  std::string_view code;
  if (word == "state") {
    if (!in.space() || !in.word(code)) return false;
    if (code != "pending" && code != "stopped") return false;
    journal.state = code == "pending" ? JournalState::Pending : JournalState::Stopped;
  } else if (word == "exit") {
    long exitCode = 0;
    if (!in.number(exitCode)) return false;
    journal.exitCode = int(exitCode);
  } else if (word == "macro") {
    ConversionResult result{};
    if (!in.space() || !in.word(code) || !decodeOutcome(code, result) || !in.field(a)) return false;
    journal.convertedMacros[a] = result;
  } else if (word == "rename" || word == "rewrite") {
    if (!in.field(a) || !in.field(b)) return false;
    journal.moves.push_back({word == "rename" ? Placement::Rename : Placement::ThroughInode, root / a, root / b});
  } else if (word == "remove") {
    if (!in.field(a)) return false;
    journal.removals.push_back(root / a);
  } else {
    return false;
  }
  return in.lineEnd();
}

}  // namespace

std::string encodeJournal(const RunJournal& journal, const fs::path& root) {
  std::string out(kHeader);
  out += journal.state == JournalState::Pending ? "state pending\n" : "state stopped\n";
  out += "exit " + std::to_string(journal.exitCode) + "\n";
  for (const auto& [path, result] : journal.convertedMacros) {
    out += "macro ";
    out += outcomeCode(result);
    putField(out, path);
    out += '\n';
  }
  for (const JournalMove& move : journal.moves) {
    out += move.how == Placement::Rename ? "rename" : "rewrite";
    putField(out, belowRoot(move.temp, root));
    putField(out, belowRoot(move.target, root));
    out += '\n';
  }
  for (const fs::path& path : journal.removals) {
    out += "remove";
    putField(out, belowRoot(path, root));
    out += '\n';
  }
  out += kEnd;
  return out;
}

bool decodeJournal(std::string_view text, const fs::path& root, RunJournal& journal) {
  journal = RunJournal{};
  if (text.substr(0, kHeader.size()) != kHeader) return false;
  Cursor in(text.substr(kHeader.size()));
  for (;;) {
    std::string_view word;
    if (!in.word(word)) return false;
    if (word == "end") return in.lineEnd() && in.atEnd();
    if (!decodeLine(in, word, root, journal)) return false;
  }
}

JournalFound readJournal(const fs::path& root, RunJournal& journal, std::string& error) {
  const fs::path path = root / kJournalFileName;
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 && errno == ENOENT) return JournalFound::None;
  std::string text;
  if (!common::readWholeFile(path, text, error)) return JournalFound::Unreadable;
  if (!decodeJournal(text, root, journal)) {
    error = "cannot read " + common::displayPath(path) + ": it is not a whole journal";
    return JournalFound::Unreadable;
  }
  return JournalFound::Found;
}

bool writeJournal(const fs::path& root, const RunJournal& journal, std::string& error) {
  const fs::path path = root / kJournalFileName;
  const std::string text = encodeJournal(journal, root);
  common::TemporaryFile temp;
  int err = 0;
  const int fd = temp.create(root, std::string(kJournalFileName), kProgramName, 0600, err);
  bool ok =
      fd >= 0 && common::writeAll(fd, reinterpret_cast<const uint8_t*>(text.data()), text.size()) && ::fsync(fd) == 0;
  if (fd >= 0 && !ok) err = errno;
  if (fd >= 0 && ::close(fd) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (ok && ::rename(temp.path().c_str(), path.c_str()) != 0) {
    ok = false;
    err = errno;
  }
  if (ok) temp.renamed();
  if (ok && common::syncFolder(root)) return true;
  error = "cannot write " + common::displayPath(path) + ": " + std::strerror(ok ? errno : err);
  return false;
}

bool removeJournal(const fs::path& root, std::string& error) {
  const fs::path path = root / kJournalFileName;
  if ((::unlink(path.c_str()) == 0 || errno == ENOENT) && common::syncFolder(root)) return true;
  error = "cannot remove " + common::displayPath(path) + ": " + std::strerror(errno);
  return false;
}

}  // namespace macrolift
