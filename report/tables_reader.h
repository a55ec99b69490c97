// The scan-code table and the command tables (shared/tables.h) as the report
// run reads them: one that can't be read stops the run with a box.
#ifndef MALVET_REPORT_TABLES_READER_H
#define MALVET_REPORT_TABLES_READER_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "report/bindings.h"

// A box that names a table ends with `note`, the line that says a folder's
// name lost letters to the code page (empty when none did).
//
// Loads a scan-code table in file order. A line whose code is not a whole
// number is the last entry loaded (its code stored as 0); loading also stops
// at 512 entries. When the file can't be opened, or read to its end, an error
// box titled `title` says so, and the result is empty: the run must stop.
// (`unreadable`: the box's words, "#" the table's name.)
std::optional<ScanCodeTable> read_scn(std::string_view unreadable, const std::string& fnam,
                                      std::string_view title, std::string_view note = "");

// Loads a command table in file order. A line whose number is not a whole
// number is an entry with number 0 and loading goes on; loading stops at 256
// entries. `lmax` is raised to the length of the longest name read, measured
// before the name is cut to 64 characters. When the file can't be opened, or
// read to its end, an error box titled `title` names it, and the result is
// empty: the run must stop.
std::optional<CommandTable> read_cmd(const std::string& fnam, std::string_view unreadable,
                                     std::int32_t& lmax, std::string_view title,
                                     std::string_view note = "");

#endif
