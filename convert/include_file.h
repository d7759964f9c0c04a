// The include file that lets game code name every converted object: a C
// header ("#define NAME\t\tvalue") or an assembler include ("NAME\t\t= value").
//
// The file is written beside its final name and put in place on close(), so
// an old include file is never left half overwritten.
#pragma once

#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

#include "common/file_io.h"

namespace voconv {

class MidiSetupRegistry;

// The time the include files show. With `utc` it is shown in UTC, as a
// reproducible build expects of SOURCE_DATE_EPOCH; else in local time.
struct RunDate {
  std::time_t seconds = 0;
  bool utc = false;
};

// SOURCE_DATE_EPOCH (`sourceDateEpoch`, a whole number of seconds since 1970)
// when it is set and valid, else `now` in local time.
RunDate runDate(const char* sourceDateEpoch, std::time_t now);

enum class IncludeForm { C, Assembler };

class IncludeFile {
 public:
  IncludeFile(IncludeForm form, std::string_view program) : form_(form), file_(program) {}

  bool open(const std::filesystem::path& path) { return file_.open(path); }
  IncludeForm form() const { return form_; }

  // The header comment with the converter's version and the run's date.
  void writeHeader(std::string_view version, const RunDate& date);
  // One symbol line; the name is written as symbolText gives it.
  void writeLine(int value, std::string_view name);
  // Text written as it is (the handheld writers' own line forms).
  void writeText(std::string_view text);
  // One "<NAME>_SONG" line per registered MIDI setup, in registration order.
  void writeSongSymbols(const MidiSetupRegistry& setups);

  // Puts the file in place; false when it could not be written.
  bool close();
  const std::string& error() const { return file_.error(); }

 private:
  IncludeForm form_;
  common::SafeFileWriter file_;
  bool writeFailed_ = false;
};

// The date in the C library's fixed form "Www Mmm dd hh:mm:ss yyyy\n".
std::string dateLine(const RunDate& date);

// ASCII upper case, as symbol names are written.
std::string upperCase(std::string_view text);

// Whether every character of `name` can stand in a C and an assembler symbol
// (letters, digits and '_').
bool isSymbolText(std::string_view name);
// `name` with each character that cannot stand in a symbol (a blank, a quote,
// the '/' and '*' of a comment...) replaced by '_'.
std::string symbolText(std::string_view name);

}  // namespace voconv
