// The keys that the sibling tools Palvik and Serunt take, from their settings
// files.
#ifndef MALVET_REPORT_SIBLING_READER_H
#define MALVET_REPORT_SIBLING_READER_H

#include <optional>
#include <string>

#include "report/bindings.h"
#include "shared/textfile.h"

// Reads the key lines of the settings file `fnam` of the sibling tool `tool`.
// A line "Key...=value" names its key as a quoted character ("x"), a scan
// code (SCN30; above 256 an extended key, 256 plus its base code) or a
// character code (ASC65), recognised in that order; a line whose number does
// not read is skipped. Each key is matched to the first entry of the
// scan-code table that has its name (a character) or its code (a scan code,
// less 128 above 256). Nothing when the file is missing; otherwise the keys
// read, with `whole` false when the file could not be opened or a read
// error stopped the reading before its end.
std::optional<ToolKeys> read_tool_ini(const std::string& tool, const std::string& fnam,
                                      const ScanCodeTable& keys);

// The key lines of the settings file `path` as `in` reads them; `whole`
// false when it failed before its end, whatever it read first.
ToolKeys read_tool_keys(const std::string& tool, const std::string& path, LineSource& in,
                        const ScanCodeTable& keys);

#endif
