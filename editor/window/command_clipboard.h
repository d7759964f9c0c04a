// Commands on the clipboard: the command list text of command_csv.h, as
// text/csv with commas and as text/plain with tabs (the same columns), so
// that rows paste into a spreadsheet and back.
#pragma once

#include <QtCore/QString>
#include <memory>
#include <vector>

#include "core/command_csv.h"

class QMimeData;

namespace vtq {

inline constexpr const char* kCsvMimeType = "text/csv";

// The clipboard data of `commands` (in list order).
std::unique_ptr<QMimeData> commandsMimeData(const std::vector<const CCommand*>& commands);

// Reads commands from clipboard data: text/csv when there is some, else the
// plain text as tab-separated rows (with or without their header row). False
// with `error` set when there are none or a row is bad.
bool commandsFromMimeData(const QMimeData& data, std::vector<std::unique_ptr<CCommand>>& commands,
                          ListReadError& error);

}  // namespace vtq
