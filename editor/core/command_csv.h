// Command lists as comma- or tab-separated text (RFC 4180, UTF-8), for the
// exchange with spreadsheets and the clipboard.
//
// The first row names the columns:
//   insert_time,timed,response_time,retransmissions,command,parameter,mode,icon
// and an exported list adds file_name,byte_code (read back as nothing: the
// wave files are written again under the names the new document gives).
// Times are HH:MM:SS:FF, timed is yes or no, the parameter is a name of the
// command's vocabulary or a number where the id has no name, mode is looped,
// once or icon for SHOW_ANIMATION (empty otherwise), icon its icon number.
// The tab-separated form has the same columns and quoting; the window puts
// both on the clipboard (text/csv and text/plain).
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "command.h"

namespace vtq {

enum class ListSeparator { Comma, Tab };

// Whether the first row must name the columns (a file) or may be a command
// already (rows pasted from a spreadsheet without their header).
enum class ListHeader { Required, Optional };

// The columns a command list is read with, in their written order.
inline constexpr const char* kListColumnNames[] = {"insert_time", "timed",     "response_time", "retransmissions",
                                                   "command",     "parameter", "mode",          "icon"};
// The columns an exported list adds (ignored when read).
inline constexpr const char* kListExportColumnNames[] = {"file_name", "byte_code"};

// The text of `commands`: the header row and one row per command, each row
// ended by CRLF (RFC 4180) for commas and by LF for tabs.
std::string encodeCommandList(const std::vector<const CCommand*>& commands, ListSeparator separator);

// What is wrong with a list: the line (counted from 1; the line a quoted
// field spanning lines starts on), the value as written, and why.
struct ListReadError {
  size_t line = 0;
  std::string value;
  std::string reason;
  std::string column;  // the column of the value (empty for a fault of the text itself)
};

// The message for the user, naming the file, the line and the value:
// 'list.csv line 3: insert_time "25:00:00:00" is not a time of the day'.
std::string describeListError(const std::string& fileName, const ListReadError& error);

// Reads every row and checks every value before giving anything back: on the
// first bad row returns false with `error` set and leaves `commands` empty.
// The commands are not yet tied to a document and have no file name or byte
// code (MakeWave gives them).
bool decodeCommandList(std::string_view text, ListSeparator separator, ListHeader header,
                       std::vector<std::unique_ptr<CCommand>>& commands, ListReadError& error);

// The separator a file name suggests: tabs for .tsv and .tab, else commas.
ListSeparator separatorForFile(const std::filesystem::path& path);

}  // namespace vtq
