// The sound track check's report as CSV, for a film's QC pipeline: a header
// row, one row per command in list order, then one per unexpected
// transmission. Times are HH:MM:SS:FF; a column that does not apply to a row
// is empty.
#pragma once

#include <string>

#include "cue_check_report.h"

namespace vtq {

inline constexpr const char* kCheckCsvHeader =
    "insert_time,byte_code,state,failed_check,found_time,offset_frames,margin_db,format_rate,copies_found,"
    "copies_sent";

std::string checkReportCsv(const CueCheckReport& report);

}  // namespace vtq
