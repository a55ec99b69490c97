// The keys that the sibling tools Palvik and Serunt take.
#ifndef MALVET_REPORT_SIBLING_H
#define MALVET_REPORT_SIBLING_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "report/report_files.h"
#include "report/tables.h"

// Lists the key lines of a sibling tool's settings file at the end of both
// report files and marks the keys they use in `q_key` (parallel to the
// scan-code table). A line "Key...=value" names its key as a quoted
// character ("x"), a scan code (SCN30; above 256 an extended key, 256 plus
// its base code) or a character code (ASC65), recognised in that order; a
// line whose number does not read is skipped. Returns true when the file was
// read to its end; false, with nothing written, when it is missing or can't
// be opened, and false when a read error stopped it.
// Each key line read is also added to `taken`, when given.
struct TakenKey {
  std::string setting;  // the line's key, "KeyMenu"
  std::string text;     // the key as the report prints it
  std::int32_t code;    // the scan code of the table entry it marked; -1 when none
};
bool read_tool_ini(bool qfr, const std::string& fnam, const ScanCodeTable& keys,
                   std::vector<bool>& q_key, ReportFiles& report,
                   std::vector<TakenKey>* taken = nullptr);

#endif
